#include "pause.h"

#include "keepalive.h"
#include "portkeeper.h"

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>

namespace {

// Sleeps against a deadline, so the time the keep-alive takes between slices
// does not lengthen the pause.
void sleepMs(unsigned long ms)
{
    const QDeadlineTimer deadline(qint64(ms), Qt::PreciseTimer);
    for (;;) {
        const qint64 leftNs = deadline.remainingTimeNSecs();
        if (leftNs <= 0)
            return;
        const qint64 sliceNs = std::min<qint64>(leftNs, qint64(KeepAlive::sliceMs) * 1000 * 1000);
        QThread::usleep(static_cast<unsigned long>((sliceNs + 999) / 1000));
        if (!deadline.hasExpired())
            KeepAlive::call(KeepAlive::Reason::Pause, deadline.remainingTime());
    }
}

Pause::Function &currentFunction()
{
    static Pause::Function function = sleepMs;
    return function;
}

} // namespace

void Pause::wait(unsigned long ms)
{
    // Nothing goes over the line meanwhile: another program may have it.
    PortKeeper::closeIdleOnThisThread();
    KeepAlive::call(KeepAlive::Reason::Pause, qint64(ms));
    currentFunction()(ms);
    KeepAlive::call(KeepAlive::Reason::Pause, 0);
}

void Pause::announce(unsigned long ms)
{
    KeepAlive::call(KeepAlive::Reason::PausesAhead, qint64(ms));
}

Pause::Function Pause::setFunction(Function function)
{
    Function previous = currentFunction();
    currentFunction() = function ? std::move(function) : Function(sleepMs);
    return previous;
}
