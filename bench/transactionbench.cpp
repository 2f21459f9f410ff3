#include "transactionbench.h"

#include "boardsimulator.h"
#include "controller_tavro.h"
#include "controller_usm.h"
#include "pellanboard.h"
#include "tavroboard.h"
#include "wiretally.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>
#include <functional>
#include <poll.h>
#include <unistd.h>

namespace {

// Runs before the timed ones, so the first open of the device and the first
// log line do not count.
constexpr int warmUpRuns = 3;

using Query = std::function<int(Controller &)>;
using DriverMaker = std::function<std::unique_ptr<Controller>(const QString &)>;

// One driver for all runs, or (driverEach) one made for each.
Figure timeQuery(const QString &name, std::unique_ptr<BoardModel> board, const DriverMaker &makeDriver,
                 const Query &query, LineDelivery delivery, int runs, bool driverEach = false)
{
    auto *tally = new WireTally(std::move(board), delivery.reaction);
    BoardSimulator sim{std::unique_ptr<BoardModel>(tally)};
    sim.setLineDelivery(delivery);
    std::unique_ptr<Controller> driver = makeDriver(sim.portName());

    Figure figure{name, QStringLiteral("ms")};
    QList<double> samples;
    for (int run = -warmUpRuns; run < runs; ++run) {
        const int framesBefore = tally->frames();
        const auto wireBefore = tally->wireTime();
        QElapsedTimer timer;
        timer.start();
        if (driverEach)
            driver = makeDriver(sim.portName());
        const int value = query(*driver);
        if (driverEach)
            driver.reset();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (value < 0 || tally->frames() != framesBefore + 1)
            figure.valid = false;
        if (run < 0)
            continue;
        samples << ms;
        figure.floor = double((tally->wireTime() - wireBefore).count()) / 1000.0;
    }
    figure.runs = int(samples.size());
    figure.median = median(samples);
    return figure;
}

LineDelivery adapterPieces(std::chrono::microseconds reaction)
{
    LineDelivery delivery;
    delivery.reaction = reaction;
    return delivery;
}

LineDelivery onePiece(std::chrono::microseconds reaction)
{
    LineDelivery delivery = adapterPieces(reaction);
    delivery.onePiece = true;
    return delivery;
}

const DriverMaker tavro = [](const QString &port) { return std::make_unique<ControllerTavro>(port); };
const Query zoom = [](Controller &driver) { return driver.getZoomPosition(); };

} // namespace

QList<Figure> benchTransactions(int runs, std::chrono::microseconds reaction)
{
    const auto pellan = [](const QString &port) { return std::make_unique<ControllerUSM>(port); };
    const Query focus = [](Controller &driver) { return driver.getFocusPosition(); };
    return {
        timeQuery(QStringLiteral("Tavro getZoomPosition, 1 ms pieces"), std::make_unique<TavroBoard>(), tavro,
                  zoom, adapterPieces(reaction), runs),
        timeQuery(QStringLiteral("Tavro getZoomPosition, 1 ms pieces, port opened"), std::make_unique<TavroBoard>(),
                  tavro, zoom, adapterPieces(reaction), runs, true),
        timeQuery(QStringLiteral("Tavro getZoomPosition, one piece"), std::make_unique<TavroBoard>(), tavro,
                  zoom, onePiece(reaction), runs),
        timeQuery(QStringLiteral("Tavro getZoomPosition, one piece, port opened"), std::make_unique<TavroBoard>(),
                  tavro, zoom, onePiece(reaction), runs, true),
        timeQuery(QStringLiteral("Pellan getFocusPosition, 1 ms pieces"), std::make_unique<PellanBoard>(),
                  pellan, focus, adapterPieces(reaction), runs),
        timeQuery(QStringLiteral("Pellan getFocusPosition, one piece"), std::make_unique<PellanBoard>(),
                  pellan, focus, onePiece(reaction), runs),
    };
}

QList<Figure> benchWaitingProgram(int runs, std::chrono::microseconds reaction, double exchangeMs)
{
    auto *tally = new WireTally(std::make_unique<TavroBoard>(), reaction);
    BoardSimulator sim{std::unique_ptr<BoardModel>(tally)};
    sim.setLineDelivery(adapterPieces(reaction));
    Figure figure{QStringLiteral("Tavro first query, another reading"), QStringLiteral("ms")};
    // One exchange of the other program on the wire, from a query of its own.
    const int framesBefore = tally->frames();
    const auto wireBefore = tally->wireTime();
    if (ControllerTavro(sim.portName()).getZoomPosition() < 0 || tally->frames() != framesBefore + 1)
        figure.valid = false;
    figure.floor = double((tally->wireTime() - wireBefore).count()) / 1000.0 + 5;

    QProcess other;
    other.setStandardErrorFile(QProcess::nullDevice());
    other.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--read-kept"), sim.portName(), QString::number(60000)});
    if (!other.waitForReadyRead(5000)) {
        figure.valid = false;
        return {figure};
    }
    QList<double> samples;
    for (int run = -warmUpRuns; run < runs; ++run) {
        // At any point of the other program's exchange.
        QThread::usleep(QRandomGenerator::global()->bounded(10000, 20000));
        QElapsedTimer timer;
        timer.start();
        const int value = ControllerTavro(sim.portName()).getZoomPosition();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (value < 0)
            figure.valid = false;
        if (run >= 0)
            samples << ms - exchangeMs;
    }
    other.closeWriteChannel();
    if (!other.waitForFinished(5000) || other.exitCode() != 0 || tally->frames() < 2 * runs)
        figure.valid = false;
    figure.runs = int(samples.size());
    figure.median = median(samples);
    return {figure};
}

int readBackToBack(const QString &port, int ms)
{
    std::puts("reading");
    std::fflush(stdout);
    ControllerTavro driver(port);
    QElapsedTimer clock;
    clock.start();
    int failures = 0;
    // Until its standard input ends: stopped in the middle of a wait, it
    // would leave its claim to the next turn behind.
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (!clock.hasExpired(ms) && ::poll(&input, 1, 0) == 0)
        failures += driver.getZoomPosition() < 0 ? 1 : 0;
    return failures == 0 ? 0 : 1;
}
