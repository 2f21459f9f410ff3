#include "transactionbench.h"

#include "boardsimulator.h"
#include "controller_tavro.h"
#include "controller_usm.h"
#include "pellanboard.h"
#include "tavroboard.h"
#include "wiretally.h"

#include <QElapsedTimer>

#include <functional>

namespace {

// Runs before the timed ones, so the first open of the device and the first
// log line do not count.
constexpr int warmUpRuns = 3;

using Query = std::function<int(Controller &)>;

Figure timeQuery(const QString &name, std::unique_ptr<BoardModel> board,
                 const std::function<std::unique_ptr<Controller>(const QString &)> &makeDriver,
                 const Query &query, LineDelivery delivery, int runs)
{
    auto *tally = new WireTally(std::move(board), delivery.reaction);
    BoardSimulator sim{std::unique_ptr<BoardModel>(tally)};
    sim.setLineDelivery(delivery);
    const std::unique_ptr<Controller> driver = makeDriver(sim.portName());

    Figure figure{name, QStringLiteral("ms")};
    QList<double> samples;
    for (int run = -warmUpRuns; run < runs; ++run) {
        const int framesBefore = tally->frames();
        const auto wireBefore = tally->wireTime();
        QElapsedTimer timer;
        timer.start();
        const int value = query(*driver);
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

} // namespace

QList<Figure> benchTransactions(int runs, std::chrono::microseconds reaction)
{
    const auto tavro = [](const QString &port) { return std::make_unique<ControllerTavro>(port); };
    const auto pellan = [](const QString &port) { return std::make_unique<ControllerUSM>(port); };
    const Query zoom = [](Controller &driver) { return driver.getZoomPosition(); };
    const Query focus = [](Controller &driver) { return driver.getFocusPosition(); };
    return {
        timeQuery(QStringLiteral("Tavro getZoomPosition, 1 ms pieces"), std::make_unique<TavroBoard>(), tavro,
                  zoom, adapterPieces(reaction), runs),
        timeQuery(QStringLiteral("Tavro getZoomPosition, one piece"), std::make_unique<TavroBoard>(), tavro,
                  zoom, onePiece(reaction), runs),
        timeQuery(QStringLiteral("Pellan getFocusPosition, 1 ms pieces"), std::make_unique<PellanBoard>(),
                  pellan, focus, adapterPieces(reaction), runs),
        timeQuery(QStringLiteral("Pellan getFocusPosition, one piece"), std::make_unique<PellanBoard>(),
                  pellan, focus, onePiece(reaction), runs),
    };
}
