#include "sessiondriver.h"

#include "controller.h"
#include "lensboard.h"
#include "lensmotor.h"
#include "exchangelog.h"
#include "pause.h"

#include <QtGlobal>

#include <algorithm>

SessionDriver::SessionDriver(BoardType board, std::unique_ptr<Controller> driver)
    : m_board(board)
    , m_driver(std::move(driver))
{
}

SessionDriver::~SessionDriver() = default;

SessionDriver::Done SessionDriver::execute(const Job &job)
{
    Done done;
    // Whatever failed before this job is not its failure.
    m_driver->takeOutcome();
    const SessionRequest &request = job.request;
    Controller &c = *m_driver;
    if (job.work) {
        job.work(c, done);
        return done;
    }
    if (job.quiet) {
        readPosition(request.motor->index(), done);
        return done;
    }
    switch (request.kind) {
    case SessionRequest::Kind::Status:
        break;
    case SessionRequest::Kind::Goto:
    case SessionRequest::Kind::Step:
        goTo(job, done);
        break;
    case SessionRequest::Kind::Run:
        run(job, done);
        break;
    case SessionRequest::Kind::Stop:
        stop(request, done);
        break;
    case SessionRequest::Kind::PresetCall:
        if (request.speed >= 0)
            c.callPresetAtSpeed(char(request.value), char(request.speed));
        else
            c.callPreset(char(request.value));
        if (check(done, false) && !request.exact)
            readAll(done);
        break;
    case SessionRequest::Kind::PresetStore:
        c.storePreset(char(request.value));
        // The Pellan driver keeps its presets on this computer; written out at
        // once, they are there for every other program too.
        if (check(done, false) && m_board == BoardType::Pellan) {
            c.storeInDevice();
            check(done, false);
        }
        // Where the preset lies, for the session's record of it: a store
        // stands, whatever a read after it finds.
        if (done.result.done()) {
            Done reads;
            for (const LensMotor &motor : LensMotor::all()) {
                if (motor.isOn(m_board) && !readPosition(motor.index(), reads))
                    break;
            }
            done.positions = reads.positions;
        }
        break;
    case SessionRequest::Kind::Speed:
        // A motor whose speed cannot be chosen has no frame for it.
        if (request.motor->setSpeed) {
            (c.*request.motor->setSpeed)(char(request.speed));
            check(done, false);
        }
        break;
    case SessionRequest::Kind::Calibrate: {
        if (request.waitMs > 0)
            Pause::announce(unsigned(request.waitMs));
        c.calibrateAll();
        if (!check(done, false))
            break;
        const unsigned long waitMs =
            request.waitMs >= 0 ? unsigned(request.waitMs) : LensBoard::calibrationWaitMs(m_board);
        if (waitMs > 0)
            Pause::wait(waitMs);
        if (!request.exact)
            readAll(done);
        break;
    }
    case SessionRequest::Kind::Refresh:
        readAll(done);
        break;
    case SessionRequest::Kind::Read:
        readPosition(request.motor->index(), done);
        break;
    case SessionRequest::Kind::Store:
        c.storeInDevice();
        check(done, false);
        break;
    case SessionRequest::Kind::Probe:
        done.result.value = c.getLensType();
        if (check(done, true) && done.result.value < 0) {
            done.result = SessionResult::failure(Outcome(Outcome::Kind::NoReply), true);
        }
        break;
    }
    return done;
}

bool SessionDriver::goTo(const Job &job, Done &done)
{
    const SessionRequest &request = job.request;
    const LensMotor &motor = *request.motor;
    const int index = motor.index();
    const auto where = [&](std::optional<int> &from) {
        from = job.positions[index];
        if (from)
            return true;
        if (!readPosition(index, done))
            return false;
        from = done.positions[index];
        return true;
    };
    int position = request.value;
    std::optional<int> maximum;
    if (!request.exact) {
        // The range is the board's; a board that was silent so far is asked now.
        maximum = job.maxima[index];
        if (!maximum) {
            if (!readMaximum(index, done))
                return false;
            maximum = done.maxima[index];
        }
        // Within the lens's soft limits, where its profile sets them.
        const int lowest = job.limits ? std::max(0, job.limits->first) : 0;
        const int highest = job.limits ? std::min(*maximum, job.limits->second) : *maximum;
        if (request.kind == SessionRequest::Kind::Step) {
            std::optional<int> from;
            if (!where(from))
                return false;
            position = std::clamp(*from + request.value, lowest, std::max(lowest, highest));
        } else if (request.share >= 0) {
            position = job.limits ? lowest + qRound(request.share * (highest - lowest)) : qRound(request.share * *maximum);
        }
        if (position > *maximum) {
            done.result.kind = SessionResult::Kind::OutOfRange;
            done.result.value = *maximum;
            return false;
        }
    }
    if (job.limits) {
        if (const std::optional<int> limit = MotionPlan::crossedLimit(position, *job.limits)) {
            done.result.kind = SessionResult::Kind::BeyondLimit;
            done.result.value = *limit;
            return false;
        }
    }
    // A step is a nudge, not a target: it is sent as it is. For a target,
    // the side it is come to from is where the motor is now: read afresh,
    // since the last position known may be from before a move still under
    // way (a goto that is not read back, with live reads off).
    std::vector<int> legs{position};
    if (job.backlash > 0 && request.kind != SessionRequest::Kind::Step) {
        if (!readPosition(index, done))
            return false;
        legs = MotionPlan::approach(*done.positions[index], position, job.backlash, job.limits ? job.limits->first : 0);
    }
    // The traffic and the trace tell the two gotos of an approach as one move.
    std::optional<ExchangeLog::ApproachScope> approach;
    if (legs.size() > 1)
        approach.emplace(ApproachLeg{index, legs.back(), 1});
    else if (job.approachEnd)
        approach.emplace(ApproachLeg{index, position, 2});
    (m_driver.get()->*motor.setPosition)(legs.front());
    done.taken = check(done, false);
    approach.reset();
    if (done.taken && legs.size() > 1) {
        done.approachVia = legs.front();
        done.approachTo = legs.back();
    }
    if (request.settleMs > 0)
        Pause::wait(unsigned(request.settleMs));
    if (request.exact)
        return done.taken;
    return done.taken && readPosition(index, done);
}

bool SessionDriver::run(const Job &job, Done &done)
{
    const SessionRequest &request = job.request;
    const LensMotor &motor = *request.motor;
    // Towards a soft limit the board is sent to the limit itself, at the
    // run's speed: it stops there however late the stop comes. A motor at or
    // past the limit already goes no further, and never back.
    const bool towardsZero = request.direction == LensMotor::towardsZero;
    const std::optional<int> limit =
        job.limits ? std::optional<int>(towardsZero ? job.limits->first : job.limits->second) : std::nullopt;
    const std::optional<int> from = job.positions[motor.index()];
    if (limit && from && (towardsZero ? *from <= *limit : *from >= *limit)) {
        done.result.kind = SessionResult::Kind::BeyondLimit;
        done.result.value = *limit;
        return false;
    }
    if (request.speed >= 0 && motor.setSpeed) {
        (m_driver.get()->*motor.setSpeed)(char(request.speed));
        if (!check(done, false))
            return false;
    }
    if (limit) {
        (m_driver.get()->*motor.setPosition)(*limit);
    } else {
        // Through a local: GCC 12 with the address and undefined-behaviour
        // sanitizers calls the other element when the indexed array element
        // itself is called.
        const LensMotor::Command runCommand = motor.runs[size_t(request.direction)];
        (m_driver.get()->*runCommand)();
    }
    done.taken = check(done, false);
    return done.taken;
}

bool SessionDriver::stop(const SessionRequest &request, Done &done)
{
    const LensMotor &motor = *request.motor;
    (m_driver.get()->*motor.stop)();
    done.taken = check(done, false);
    if (!done.taken || request.exact)
        return done.taken;
    // Read back as the window's STOP does, so everyone sees where it stands.
    return readPosition(motor.index(), done);
}

bool SessionDriver::readAll(Done &done)
{
    for (const LensMotor &motor : LensMotor::all()) {
        if (!motor.isOn(m_board))
            continue;
        if (!readPosition(motor.index(), done) || !readMaximum(motor.index(), done))
            return false;
    }
    return true;
}

bool SessionDriver::readMaximum(int motor, Done &done)
{
    const int maximum = (m_driver.get()->*LensMotor::all()[size_t(motor)].maximum)();
    if (!check(done, true))
        return false;
    // A position of -1 can be a real place on the Pellan lens, so only the
    // outcome tells a failed read; a maximum is never negative.
    if (maximum < 0) {
        done.result = SessionResult::failure(Outcome(Outcome::Kind::NoReply), true);
        return false;
    }
    done.maxima[size_t(motor)] = maximum;
    return true;
}

bool SessionDriver::readPosition(int motor, Done &done)
{
    const int position = (m_driver.get()->*LensMotor::all()[size_t(motor)].position)();
    if (!check(done, true))
        return false;
    done.positions[motor] = position;
    return true;
}

bool SessionDriver::check(Done &done, bool query)
{
    Outcome outcome = m_driver->takeOutcome();
    if (outcome.ok())
        return true;
    done.result = SessionResult::failure(std::move(outcome), query);
    return false;
}
