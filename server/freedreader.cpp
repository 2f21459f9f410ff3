#include "freedreader.h"

#include "controller.h"
#include "exchangelog.h"
#include "exchangerecord.h"
#include "freedsender.h"
#include "lensmotor.h"
#include "lenssession.h"

#include <QPointer>

#include <memory>

namespace {

constexpr qint64 msNs = 1'000'000;

// How long bytes take on the board's line: 10 bits each at 19200 baud to a
// Tavro board, at 115200 to a Pellan one.
qint64 wireNs(BoardType board, qsizetype bytes)
{
    return qint64(bytes) * 10 * 1'000'000'000 / (board == BoardType::Tavro ? 19200 : 115200);
}

} // namespace

struct FreedReader::Stamp
{
    // When the board took the position: as its query's last byte reached
    // it.
    qint64 atNs = 0;
    std::optional<int> position;
};

FreedReader::FreedReader(LensSession &session, FreedSender &sender, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_sender(sender)
{
    m_wait.setSingleShot(true);
    m_wait.setTimerType(Qt::PreciseTimer);
    connect(&m_wait, &QTimer::timeout, this, &FreedReader::readNext);
}

void FreedReader::start()
{
    m_on = true;
    m_counts = {};
    if (!m_reading)
        readNext();
}

void FreedReader::stop()
{
    m_on = false;
    m_wait.stop();
}

bool FreedReader::isDue(int motor, qint64 nowNs) const
{
    if (!LensMotor::all()[size_t(motor)].isOn(m_session.board()))
        return false;
    const bool moving = m_session.isRunning(LensMotor::all()[size_t(motor)])
        || (m_positions[size_t(motor)] && nowNs - m_changedAt[size_t(motor)] < movingForMs * msNs);
    return moving || !m_positions[size_t(motor)] || nowNs - m_readAt[size_t(motor)] >= standingReadMs * msNs;
}

void FreedReader::readNext()
{
    if (!m_on || m_reading)
        return;
    const qint64 now = FreedSender::nowNs();
    int motor = -1;
    for (int turn = 0; turn < 3 && motor < 0; ++turn) {
        const int candidate = (m_next + turn) % 3;
        if (isDue(candidate, now))
            motor = candidate;
    }
    if (motor < 0) {
        // Everything stands: until the first motor's next read is due.
        qint64 dueNs = now + standingReadMs * msNs;
        for (int i = 0; i < 3; ++i) {
            if (LensMotor::all()[size_t(i)].isOn(m_session.board()))
                dueNs = std::min(dueNs, m_readAt[size_t(i)] + standingReadMs * msNs);
        }
        m_wait.start(int(std::max<qint64>(1, (dueNs - now + msNs - 1) / msNs)));
        return;
    }
    m_next = (motor + 1) % 3;
    m_reading = true;
    const auto stamp = std::make_shared<Stamp>();
    const LensMotor *lensMotor = &LensMotor::all()[size_t(motor)];
    const QPointer<FreedReader> self(this);
    const BoardType board = m_session.board();
    m_session.submitWork(
        [stamp, lensMotor, board](Controller &driver, SessionDriver::Done &done) {
            const qint64 before = FreedSender::nowNs();
            stamp->atNs = -1;
            int position = 0;
            {
                // The exchange's record, heard on this thread as it ends,
                // times the query: opening the port, say, comes before it.
                const ExchangeLog::Subscription exchange([stamp, board](const ExchangeRecord &record) {
                    if (record.roundTripMs >= 0)
                        stamp->atNs = FreedSender::nowNs() - qint64(record.roundTripMs * 1e6)
                            + wireNs(board, record.frame.size());
                });
                position = (driver.*lensMotor->position)();
            }
            if (stamp->atNs < 0)
                stamp->atNs = before + (FreedSender::nowNs() - before) / 2;
            // A failed read is nobody's concern but the output's: it keeps
            // the positions it had and asks again in turn.
            if (driver.takeOutcome().ok()) {
                stamp->position = position;
                done.positions[size_t(lensMotor->index())] = position;
            }
        },
        [self, motor, stamp](const SessionResult &result) {
            if (!self)
                return;
            self->m_reading = false;
            if (result.kind == SessionResult::Kind::Stopping)
                self->stop();
            self->received(motor, *stamp);
        });
}

void FreedReader::received(int motor, const Stamp &stamp)
{
    const size_t i = size_t(motor);
    if (stamp.position) {
        if (m_positions[i] != stamp.position)
            m_changedAt[i] = stamp.atNs;
        m_positions[i] = stamp.position;
        ++m_counts[i];
        m_sender.addRead(motor, stamp.atNs, *stamp.position, m_session.heading(LensMotor::all()[i]));
    }
    // A board that does not answer is asked again no sooner than a standing
    // motor would be.
    m_readAt[i] = stamp.position ? stamp.atNs : FreedSender::nowNs();
    if (!m_on)
        return;
    if (!stamp.position) {
        m_wait.start(standingReadMs);
        return;
    }
    readNext();
}
