#include "freedbench.h"

#include "boardsimulator.h"
#include "freedoutput.h"
#include "lensmotor.h"
#include "lensservice.h"
#include "loopbackreceiver.h"
#include "pellanboard.h"
#include "tavroboard.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cmath>
#include <functional>

namespace {

constexpr int measureMs = 3000;

void waitFor(int ms, const std::function<bool()> &done = [] { return false; })
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

SessionRequest runOf(int motor)
{
    SessionRequest request;
    request.kind = SessionRequest::Kind::Run;
    request.motor = &LensMotor::all()[size_t(motor)];
    request.direction = LensMotor::towardsMaximum;
    request.speed = 0;
    return request;
}

// The board's output at rate for measureMs, the motors in moving running
// from where they stand: the packets' intervals and the reads.
QList<Figure> measure(const QString &board, std::chrono::microseconds reaction, double rate,
                      const QList<int> &moving, const QList<int> &readTargets)
{
    const bool pellan = board == QLatin1String("Pellan");
    BoardSimulator sim{pellan ? std::unique_ptr<BoardModel>(std::make_unique<PellanBoard>())
                              : std::make_unique<TavroBoard>()};
    LineDelivery delivery;
    delivery.reaction = reaction;
    sim.setLineDelivery(delivery);
    LensService service(pellan ? BoardType::Pellan : BoardType::Tavro, sim.portName());
    service.start(false);
    waitFor(10000, [&] { return service.isIdle(); });
    LoopbackReceiver receiver;
    FreedSettings settings;
    settings.on = true;
    settings.targets = QStringList{QStringLiteral("127.0.0.1:%1").arg(receiver.port())};
    settings.rate = rate;
    FreedOutput output(service, settings);
    for (int motor : moving)
        service.submit(runOf(motor));
    waitFor(300);
    const std::array<int, 3> readsBefore = output.reader().readCounts();
    receiver.take();
    waitFor(measureMs);
    QList<qint64> arrivals;
    for (const LoopbackReceiver::Heard &heard : receiver.take())
        arrivals << heard.atNs;
    const std::array<int, 3> readsAfter = output.reader().readCounts();
    const bool stillMoving = std::all_of(moving.begin(), moving.end(), [&](int motor) {
        return service.session().isRunning(LensMotor::all()[size_t(motor)]);
    });

    const QString what = board + (moving.isEmpty() ? QStringLiteral(", standing") : QStringLiteral(", moving"))
        + QStringLiteral(", %1 Hz: ").arg(rate);
    QList<double> intervals;
    for (int i = 1; i < arrivals.size(); ++i)
        intervals << double(arrivals[i] - arrivals[i - 1]) / 1e6;
    const double periodMs = 1e3 / rate;
    const int off = int(std::count_if(intervals.begin(), intervals.end(),
                                      [periodMs](double interval) { return std::abs(interval - periodMs) > 2; }));
    double worst = 0;
    for (double interval : intervals)
        worst = std::max(worst, std::abs(interval - periodMs));
    QList<Figure> figures;
    Figure interval{what + QStringLiteral("packet interval"), QStringLiteral("ms"), int(intervals.size()),
                    median(intervals), periodMs};
    interval.valid = intervals.size() > 10;
    figures << interval;
    figures << Figure{what + QStringLiteral("intervals more than 2 ms off"), QStringLiteral("%"),
                      int(intervals.size()), intervals.isEmpty() ? 100 : 100.0 * off / intervals.size(), 0};
    figures << Figure{what + QStringLiteral("largest interval error"), QStringLiteral("ms"), int(intervals.size()),
                      worst, 0};
    for (size_t motor = 0; motor < 3; ++motor) {
        if (!LensMotor::all()[motor].isOn(pellan ? BoardType::Pellan : BoardType::Tavro))
            continue;
        Figure reads{what + QLatin1String(LensMotor::all()[motor].name) + QStringLiteral(" reads a second"),
                     QStringLiteral("/s"), 1, (readsAfter[motor] - readsBefore[motor]) * 1e3 / measureMs,
                     double(readTargets.value(int(motor)))};
        reads.valid = stillMoving;
        figures << reads;
    }
    for (int motor : moving) {
        SessionRequest stop;
        stop.kind = SessionRequest::Kind::Stop;
        stop.motor = &LensMotor::all()[size_t(motor)];
        service.submit(stop);
    }
    waitFor(2000, [&] { return !service.session().isWorking(); });
    return figures;
}

} // namespace

QList<Figure> benchFreed(std::chrono::microseconds reaction)
{
    QList<Figure> figures;
    figures << measure(QStringLiteral("Tavro"), reaction, 50, {}, {10, 10, 10});
    figures << measure(QStringLiteral("Tavro"), reaction, 50, {0, 1}, {40, 40, 10});
    figures << measure(QStringLiteral("Tavro"), reaction, 59.94, {0, 1}, {40, 40, 10});
    figures << measure(QStringLiteral("Pellan"), reaction, 59.94, {1}, {0, 150, 0});
    return figures;
}
