// lens-board-sim: a simulated Tavro or Pellan board on a pseudo-terminal, for
// running the controller program without hardware.
//
//   lens-board-sim --board tavro|pellan [--link PATH] [--state FILE] [--fault NAME]
//                  [--backlash N] [--trace] [--piece-bytes N] [--piece-gap-ms MS] [--one-piece] [--reaction-ms MS]
//
// The first line on standard output is the device path to open. SIGINT,
// SIGTERM or SIGHUP end the simulator cleanly.

#include "boardsimulator.h"
#include "linedelivery.h"
#include "pellanboard.h"
#include "simfault.h"
#include "tavroboard.h"
#include "tavrosettings.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QSet>
#include <QStringList>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <pthread.h>
#include <thread>

namespace {

constexpr int exitUsage = 2;
constexpr int exitFailure = 1;
// Longer pauses would only keep the simulator from ending promptly.
constexpr double maximumDelayMs = 10000;

struct Options
{
    QString board;
    QString link;
    QString stateFile;
    SimFault fault = SimFault::None;
    int backlash = 0;
    bool trace = false;
    LineDelivery delivery;
};

void printUsage()
{
    std::fprintf(stderr,
                 "Usage: lens-board-sim --board tavro|pellan [--link PATH] [--state FILE] "
                 "[--fault NAME] [--backlash N] [--trace]\n"
                 "                      [--piece-bytes N] [--piece-gap-ms MS] [--one-piece] "
                 "[--reaction-ms MS]\n"
                 "  --board         which board to simulate\n"
                 "  --link          also make PATH a symbolic link to the device (removed on exit)\n"
                 "  --state         file in which the Tavro board keeps its stored settings (the\n"
                 "                  Pellan board keeps nothing on board and ignores it)\n"
                 "  --fault         misbehave on every frame: %s\n"
                 "  --backlash      counts of play between each motor and the lens part it\n"
                 "                  drives (default 0); the board reports the motors' counts\n"
                 "  --trace         a line on standard error for every frame acted on: the frame\n"
                 "                  and where each motor and its lens part are then\n"
                 "Replies cross the line at the board's baud rate (Tavro 19200, Pellan 115200)\n"
                 "and reach the program in pieces, as a USB serial adapter hands them over:\n"
                 "  --piece-bytes   N bytes (at least 1) in each piece; by default whatever has\n"
                 "                  crossed the line since the last piece\n"
                 "  --piece-gap-ms  milliseconds between pieces, decimals allowed (default 1;\n"
                 "                  0: each piece as soon as it has crossed)\n"
                 "  --one-piece     the whole reply at once when all of it has crossed (not with\n"
                 "                  --piece-bytes or --piece-gap-ms)\n"
                 "  --reaction-ms   milliseconds from a frame's arrival to its reply (default 0)\n"
                 "Delays are at most %g ms.\n",
                 qPrintable(simFaultNames().join(QLatin1String(", "))), maximumDelayMs);
}

// A delay in milliseconds, decimals allowed.
std::optional<std::chrono::microseconds> parseDelay(const QString &value)
{
    bool ok = false;
    const double ms = value.toDouble(&ok);
    if (!ok || !(ms >= 0 && ms <= maximumDelayMs))
        return std::nullopt;
    return std::chrono::microseconds(std::llround(ms * 1000));
}

// Takes one option that has a value; false when the name or the value is bad.
bool applyOption(Options &options, const QString &name, const QString &value)
{
    QString *target = nullptr;
    if (name == QLatin1String("--board"))
        target = &options.board;
    else if (name == QLatin1String("--link"))
        target = &options.link;
    else if (name == QLatin1String("--state"))
        target = &options.stateFile;
    if (target) {
        *target = value;
        return !value.isEmpty();
    }
    if (name == QLatin1String("--fault")) {
        const std::optional<SimFault> fault = simFaultFromName(value);
        options.fault = fault.value_or(SimFault::None);
        return fault.has_value();
    }
    if (name == QLatin1String("--backlash")) {
        bool ok = false;
        options.backlash = value.toInt(&ok);
        return ok && options.backlash >= 0;
    }
    if (name == QLatin1String("--piece-bytes")) {
        bool ok = false;
        options.delivery.pieceBytes = value.toInt(&ok);
        return ok && options.delivery.pieceBytes >= 1;
    }
    std::chrono::microseconds *delay = nullptr;
    if (name == QLatin1String("--piece-gap-ms"))
        delay = &options.delivery.gap;
    else if (name == QLatin1String("--reaction-ms"))
        delay = &options.delivery.reaction;
    const std::optional<std::chrono::microseconds> parsed = parseDelay(value);
    if (!delay || !parsed)
        return false;
    *delay = *parsed;
    return true;
}

std::optional<Options> parseArguments(const QStringList &arguments)
{
    const QString onePiece = QStringLiteral("--one-piece");
    const QString trace = QStringLiteral("--trace");
    Options options;
    QSet<QString> given;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &name = arguments.at(i);
        if (given.contains(name))
            return std::nullopt;
        given.insert(name);
        if (name == onePiece || name == trace) {
            (name == onePiece ? options.delivery.onePiece : options.trace) = true;
            continue;
        }
        if (i + 1 >= arguments.size() || !applyOption(options, name, arguments.at(++i)))
            return std::nullopt;
    }
    if (given.contains(onePiece)
        && (given.contains(QStringLiteral("--piece-bytes")) || given.contains(QStringLiteral("--piece-gap-ms"))))
        return std::nullopt;
    if (options.board != QLatin1String("tavro") && options.board != QLatin1String("pellan"))
        return std::nullopt;
    return options;
}

std::unique_ptr<BoardModel> makeBoard(const Options &options)
{
    if (options.board == QLatin1String("pellan")) {
        auto board = std::make_unique<PellanBoard>();
        board->setBacklash(options.backlash);
        return board;
    }
    auto board = std::make_unique<TavroBoard>(options.stateFile.isEmpty() ? TavroSettings()
                                                                          : TavroSettings::load(options.stateFile));
    board->setBacklash(options.backlash);
    if (options.stateFile.isEmpty())
        return board;
    const QString stateFile = options.stateFile;
    board->setStoreHandler([stateFile](const TavroSettings &settings) {
        if (!settings.save(stateFile))
            std::fprintf(stderr, "lens-board-sim: could not write %s\n", qPrintable(stateFile));
    });
    return board;
}

} // namespace

int main(int argc, char *argv[])
{
    // Blocked before any thread starts, so every thread inherits the mask and
    // the signals are only ever taken by sigwait below.
    sigset_t quitSignals;
    sigemptyset(&quitSignals);
    sigaddset(&quitSignals, SIGINT);
    sigaddset(&quitSignals, SIGTERM);
    // A closed terminal ends it cleanly too, so the link does not outlive it.
    sigaddset(&quitSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &quitSignals, nullptr);

    QCoreApplication app(argc, argv);
    const std::optional<Options> options = parseArguments(app.arguments());
    if (!options) {
        printUsage();
        return exitUsage;
    }

    BoardSimulator simulator(makeBoard(*options));
    if (!simulator.isOpen()) {
        std::fprintf(stderr, "lens-board-sim: no pseudo-terminal: %s\n",
                     qPrintable(simulator.errorString()));
        return exitFailure;
    }
    if (options->fault != SimFault::None)
        simulator.setFault(options->fault);
    simulator.setLineDelivery(options->delivery);
    if (options->trace)
        simulator.setTrace([](const QString &line) {
            std::fprintf(stderr, "lens-board-sim: %s\n", qPrintable(line));
            std::fflush(stderr);
        });

    const QString device = simulator.portName();
    if (!options->link.isEmpty() && !simulator.linkAs(options->link)) {
        std::fprintf(stderr, "lens-board-sim: could not create the link %s\n",
                     qPrintable(options->link));
        return exitFailure;
    }
    std::printf("%s\n", qPrintable(device));
    std::fflush(stdout);

    std::thread signalWaiter([&quitSignals] {
        int signal = 0;
        sigwait(&quitSignals, &signal);
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
    });
    const int status = app.exec();
    signalWaiter.join();
    return status;
}
