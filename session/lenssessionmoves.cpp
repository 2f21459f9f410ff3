// The session's timed and followed moves: the courses of a timed move, and
// the focus that follows the zoom.
#include "lenssession.h"

#include "lensmotor.h"
#include "lensprofile.h"

#include <algorithm>
#include <cmath>

namespace {

// How far ahead of the zoom's last read the focus is sent: the time the read
// and the goto take, and half the time to the next read, so that the focus
// is as far ahead of the zoom for the first half as behind it for the second.
constexpr double followLeadS = 0.02 + LensSession::liveReadMs / 2000.0;
// How far ahead a course is steered: the speed level chosen makes the motor
// meet its course that far on.
constexpr double steerAheadS = 0.25;

// The speed a motor must make to meet its course steerAheadS from now.
double neededSpeed(const MotionPlan::Leg &leg, int from, int to, double seconds, int position)
{
    const double course = from + MotionPlan::coveredAt(leg, seconds + steerAheadS) * (to > from ? 1 : -1);
    return (course - position) * (to > from ? 1 : -1) / steerAheadS;
}

// A preset recorded where the profile's soft limits do not let a motor go.
bool beyondLimits(const LensProfile *profile, const std::optional<PresetRecords::Positions> &recorded)
{
    if (!profile || !recorded)
        return false;
    for (size_t i = 0; i < recorded->size(); ++i) {
        const std::optional<MotionPlan::Limits> &limits = profile->data().limits[i];
        if ((*recorded)[i] && limits && MotionPlan::crossedLimit(*(*recorded)[i], *limits))
            return true;
    }
    return false;
}

} // namespace

bool LensSession::hasSpeedsFor(const LensProfile *profile, BoardType board, const SessionRequest &request)
{
    const auto measured = [profile, board](const LensMotor &motor) {
        return !motor.isOn(board) || (profile && !profile->data().speeds[size_t(motor.index())].empty());
    };
    return request.motor ? measured(*request.motor) : std::all_of(LensMotor::all().begin(), LensMotor::all().end(), measured);
}

LensSession::Planning LensSession::planning(const SessionRequest &request) const
{
    const bool timed = request.seconds > 0;
    const bool movesAll = request.kind == SessionRequest::Kind::PresetCall;
    // The board's own recall would take such a preset beyond the limits.
    const bool limited = movesAll && beyondLimits(m_profile.get(), m_presets.positions(request.value));
    if ((request.kind != SessionRequest::Kind::Goto && !movesAll) || (!timed && !(movesAll && (m_tracking || limited))))
        return Planning::None;
    if (timed && !hasSpeedsFor(m_profile.get(), m_board, request))
        return Planning::Refused;
    if (!movesAll || m_presets.positions(request.value))
        return Planning::Plan;
    return Planning::BoardsOwn;
}

SessionResult LensSession::setTracking(bool on)
{
    SessionResult result;
    if (on && !(m_profile && m_profile->hasTable(LensAxis::Focus))) {
        result.kind = SessionResult::Kind::NoFocusCurve;
        return result;
    }
    if (on == m_tracking)
        return result;
    m_tracking = on;
    m_following = false;
    m_zoomFollowed = false;
    m_followEnd.reset();
    holdFocusDistance();
    // The distance to hold is the focus's as the session finds it.
    if (on && !m_heldDistance) {
        SessionRequest read;
        read.kind = SessionRequest::Kind::Refresh;
        enqueue({read, false, {}, {}});
    }
    emit trackingChanged(on);
    return result;
}

void LensSession::holdFocusDistance()
{
    const Motion &zoomMotion = m_motion[zoom];
    const Motion &focusMotion = m_motion[focus];
    if (!m_tracking || !m_profile || !focusMotion.position)
        return;
    // A board without zoom has its one curve, at any zoom. A focus nearer
    // than the curves share has no distance to hold: nothing follows then.
    m_heldDistance = m_profile->focusDistanceM(*focusMotion.position, zoomMotion.position.value_or(0));
}

void LensSession::plan(const Job &job, SessionDriver::Done &done)
{
    const SessionRequest &request = job.request;
    const LensProfileData *data = m_profile ? &m_profile->data() : nullptr;
    const auto limitsOf = [data](int motor) {
        return data ? data->limits[size_t(motor)] : std::nullopt;
    };
    std::array<std::optional<int>, 3> targets;
    SessionResult::Limits recalledToLimit;
    if (request.kind == SessionRequest::Kind::Goto) {
        const int index = request.motor->index();
        const std::optional<int> maximum = m_motion[size_t(index)].maximum;
        if (!maximum) {
            done.result = SessionResult::failure(Outcome(Outcome::Kind::NoReply), true);
            return;
        }
        const std::optional<MotionPlan::Limits> limits = limitsOf(index);
        int position = request.value;
        if (request.share >= 0) {
            const int lowest = limits ? std::max(0, limits->first) : 0;
            const int highest = limits ? std::min(*maximum, limits->second) : *maximum;
            position = lowest + qRound(request.share * (highest - lowest));
        }
        if (position < 0 || position > *maximum) {
            done.result.kind = SessionResult::Kind::OutOfRange;
            done.result.value = *maximum;
            return;
        }
        if (const std::optional<int> limit = limits ? MotionPlan::crossedLimit(position, *limits) : std::nullopt) {
            done.result.kind = SessionResult::Kind::BeyondLimit;
            done.result.value = *limit;
            return;
        }
        targets[size_t(index)] = position;
    } else {
        const std::optional<PresetRecords::Positions> recorded = m_presets.positions(request.value);
        for (const LensMotor &motor : LensMotor::all()) {
            const size_t index = size_t(motor.index());
            if (!motor.isOn(m_board) || !recorded || !(*recorded)[index])
                continue;
            int position = std::clamp(*(*recorded)[index], 0, m_motion[index].maximum.value_or(*(*recorded)[index]));
            // Stored before the limits were set: as near as they allow.
            if (const std::optional<MotionPlan::Limits> limits = limitsOf(int(index))) {
                const int within = std::clamp(position, limits->first, limits->second);
                if (within != position)
                    recalledToLimit[index] = within;
                position = within;
            }
            targets[index] = position;
        }
        if (m_tracking && m_profile && targets[focus]) {
            // The preset's own distance, at its own zoom.
            if (const std::optional<double> metres =
                    m_profile->focusDistanceM(*targets[focus], targets[zoom].value_or(0)))
                m_heldDistance = *metres;
        }
    }
    const bool zoomMoves = targets[zoom] && m_motion[zoom].position && *targets[zoom] != *m_motion[zoom].position;
    if (m_tracking && m_heldDistance && zoomMoves) {
        // The focus follows the zoom there, and ends on the preset's focus.
        m_followEnd = std::exchange(targets[focus], std::nullopt);
        m_following = true;
        m_lastFollow = -1;
    }
    done.result = {};
    done.result.recalledToLimit = recalledToLimit;
    if (request.seconds <= 0) {
        for (int i = 0; i < int(targets.size()); ++i) {
            if (!targets[size_t(i)])
                continue;
            // At the call's own speed, as the board's own recall would go.
            if (request.speed >= 0 && LensMotor::all()[size_t(i)].setSpeed)
                enqueueSpeed(i, request.speed);
            enqueueGoto(i, *targets[size_t(i)], false);
        }
        return;
    }
    std::array<std::optional<MotionPlan::Travel>, 3> travels;
    std::array<std::vector<int>, 3> legs;
    for (size_t i = 0; i < targets.size(); ++i) {
        if (!targets[i] || !m_motion[i].position)
            continue;
        const std::optional<MotionPlan::Limits> limits = limitsOf(int(i));
        legs[i] = MotionPlan::approach(*m_motion[i].position, *targets[i], data->backlash[i], limits ? limits->first : 0);
        travels[i] = MotionPlan::Travel{*m_motion[i].position, legs[i].front(), data->speeds[i]};
    }
    const MotionPlan::TimedMove move = MotionPlan::planTimed(request.seconds, travels);
    m_courseStartMs = m_clock.elapsed();
    for (size_t i = 0; i < targets.size(); ++i) {
        Motion &motion = m_motion[i];
        if (!travels[i])
            continue;
        if (legs[i].size() > 1) {
            // The backlash taken up at the end, once the course is beneath.
            SessionRequest last = request;
            last.kind = SessionRequest::Kind::Goto;
            last.motor = &LensMotor::all()[i];
            last.value = legs[i].back();
            last.share = -1;
            last.seconds = 0;
            motion.approach = last;
            motion.approachVia = legs[i].front();
        }
        if (move.legs[i])
            m_courses[i] = Course{*move.legs[i], travels[i]->from, travels[i]->to, travels[i]->speeds, -1};
    }
    done.result.seconds = move.seconds;
    done.result.lengthened = move.lengthened;
    startDueCourses();
}

void LensSession::startCourse(int motor)
{
    Course &course = *m_courses[size_t(motor)];
    const double seconds = (m_clock.elapsed() - m_courseStartMs) / 1000.0 - course.leg.start;
    course.level = course.leg.eased
        ? MotionPlan::levelFor(neededSpeed(course.leg, course.from, course.to, seconds, course.from), course.speeds)
        : 0;
    if (course.speeds.size() > 1)
        enqueueSpeed(motor, course.level);
    enqueueGoto(motor, course.to, true);
}

void LensSession::startDueCourses()
{
    const double seconds = (m_clock.elapsed() - m_courseStartMs) / 1000.0;
    for (int i = 0; i < int(m_courses.size()); ++i) {
        const std::optional<Course> &course = m_courses[size_t(i)];
        // Within half a read of its start: sooner rather than late.
        if (course && course->level < 0 && seconds + liveReadMs / 2000.0 >= course->leg.start)
            startCourse(i);
    }
    updateLiveReads();
}

void LensSession::steerCourses(const SessionDriver::Done &done)
{
    for (int i = 0; i < int(m_courses.size()); ++i) {
        std::optional<Course> &course = m_courses[size_t(i)];
        const std::optional<int> position = done.positions[size_t(i)];
        if (!course || !course->underWay || !position)
            continue;
        // There, or standing short of it (an end stop).
        if (*position == course->to || m_motion[size_t(i)].unchangedReads >= 2) {
            endCourse(i);
            continue;
        }
        if (!course->leg.eased)
            continue;
        const double seconds = (m_clock.elapsed() - m_courseStartMs) / 1000.0 - course->leg.start;
        const int level =
            MotionPlan::levelFor(neededSpeed(course->leg, course->from, course->to, seconds, *position), course->speeds);
        if (level == course->level)
            continue;
        course->level = level;
        enqueueSpeed(i, level);
        // A Pellan move frame carries its speed: the new level needs one.
        if (m_board == BoardType::Pellan)
            enqueueGoto(i, course->to, true);
    }
}

void LensSession::endCourse(int motor)
{
    const Course course = *std::exchange(m_courses[size_t(motor)], std::nullopt);
    if (course.speeds.size() < 2 || course.level < 0)
        return;
    // Back to the level the front ends chose; the board's power-up level
    // (medium) when none did.
    const int chosen = m_levels[size_t(motor)] >= 0 ? m_levels[size_t(motor)] : 1;
    if (chosen != course.level)
        enqueueSpeed(motor, chosen);
}

void LensSession::enqueueSpeed(int motor, int level)
{
    SessionRequest request;
    request.kind = SessionRequest::Kind::Speed;
    request.motor = &LensMotor::all()[size_t(motor)];
    request.speed = level;
    enqueue({request, false, {}, {}});
}

void LensSession::enqueueGoto(int motor, int position, bool straight)
{
    SessionRequest request;
    request.kind = SessionRequest::Kind::Goto;
    request.motor = &LensMotor::all()[size_t(motor)];
    request.value = position;
    Job job{request, false, {}, {}};
    job.finalLeg = straight;
    enqueue(std::move(job));
}

void LensSession::follow(const SessionDriver::Done &done)
{
    if (!m_tracking || !m_profile || m_stopping)
        return;
    const Motion &zoomMotion = m_motion[zoom];
    const bool zoomMoving = zoomMotion.running || zoomMotion.settling || m_courses[zoom];
    // The focus's own move comes first: its distance is held once it stands.
    if (!m_following && isMoving(focus))
        return;
    if (!zoomMoving) {
        if (!std::exchange(m_zoomFollowed, false)) {
            if (!m_following) {
                holdFocusDistance();
                m_distanceStale = false;
            }
            return;
        }
        const std::optional<double> last = m_followEnd ? std::optional<double>(*m_followEnd)
            : m_heldDistance && zoomMotion.position ? m_profile->focusForDistance(*m_heldDistance, *zoomMotion.position)
                                                    : std::nullopt;
        m_followEnd.reset();
        m_lastFollow = -1;
        if (last)
            enqueueGoto(focus, focusWithin(qRound(*last)), false);
        return;
    }
    if (!done.positions[zoom] || !zoomMotion.position)
        return;
    // Focused anew while the zoom moves: as near as can be, at the zoom now.
    if (std::exchange(m_distanceStale, false))
        holdFocusDistance();
    if (!m_heldDistance)
        return;
    // Where the zoom will be when the focus gets there.
    const double ahead = MotionPlan::zoomAhead(*zoomMotion.position, zoomMotion.velocity, followLeadS, zoomMotion.target,
                                               zoomMotion.maximum.value_or(*zoomMotion.position));
    const std::optional<double> position = m_profile->focusForDistance(*m_heldDistance, ahead);
    if (!position)
        return;
    m_following = true;
    m_zoomFollowed = true;
    const int target = focusWithin(qRound(*position));
    if (std::abs(target - m_lastFollow) < 2)
        return;
    m_lastFollow = target;
    enqueueGoto(focus, target, true);
}

int LensSession::focusWithin(int position) const
{
    int within = std::clamp(position, 0, m_motion[focus].maximum.value_or(position));
    if (const std::optional<MotionPlan::Limits> limits = m_profile ? m_profile->data().limits[focus] : std::nullopt)
        within = std::clamp(within, limits->first, limits->second);
    return within;
}
