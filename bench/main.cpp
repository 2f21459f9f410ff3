// tavro-bench: what the drivers and the window take against the time the
// serial line itself needs. Prints figures, never judges them; the exit status
// says only whether every flow went through.
//
//   tavro-bench [--runs N] [--pause-scale S] [--only transactions|server|flows|start]
//
// --runs: runs of each window flow (default 5; transactions run 20 times as
// often, program starts twice as often, plus one). --pause-scale: the window's
// and the drivers' pauses sleep 1/S of their length (default 10; 1: real pauses).

#include "figures.h"
#include "flowbench.h"
#include "lensdbench.h"
#include "startbench.h"
#include "tracefile.h"
#include "transactionbench.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {

constexpr std::chrono::microseconds reaction{2000};

struct Options
{
    int runs = 5;
    double pauseScale = 10;
    QString only;
};

std::optional<Options> parseArguments(const QStringList &arguments)
{
    Options options;
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        const QString &name = arguments.at(i);
        const QString &value = arguments.at(i + 1);
        bool ok = true;
        if (name == QLatin1String("--runs"))
            options.runs = value.toInt(&ok);
        else if (name == QLatin1String("--pause-scale"))
            options.pauseScale = value.toDouble(&ok);
        else if (name == QLatin1String("--only"))
            options.only = value;
        else
            return std::nullopt;
        if (!ok)
            return std::nullopt;
    }
    const QStringList sections{QString(), QStringLiteral("transactions"), QStringLiteral("flows"),
                               QStringLiteral("start"), QStringLiteral("server")};
    if (arguments.size() % 2 == 0 || options.runs < 1 || !(options.pauseScale >= 1)
        || !sections.contains(options.only))
        return std::nullopt;
    return options;
}

bool allValid(const QList<Figure> &figures)
{
    for (const Figure &figure : figures) {
        if (!figure.valid)
            return false;
    }
    return true;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readLine().trimmed());
}

} // namespace

int main(int argc, char *argv[])
{
    // The Pellan driver keeps its presets in the user's settings, and the
    // program its trace in the user's data; the bench's go to folders of its
    // own, and so do those of the programs it starts.
    QTemporaryDir userFolders;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(userFolders.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(userFolders.filePath(QStringLiteral("data"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    // The drivers and the window log as in the program: to standard error and
    // to the trace file.
    const TraceFile trace(TraceFile::defaultPath());
    const std::optional<Options> options = parseArguments(QApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "Usage: tavro-bench [--runs N] [--pause-scale S>=1] "
                             "[--only transactions|server|flows|start]\n");
        return 2;
    }
    std::printf("Load average before: %s\n", qPrintable(loadAverage()));

    bool valid = true;
    const auto section = [&](const QString &name) { return options->only.isEmpty() || options->only == name; };
    if (section(QStringLiteral("transactions"))) {
        const QList<Figure> figures = benchTransactions(20 * options->runs, reaction);
        printFigures(QStringLiteral("One transaction; floor: frame and reply on the wire + 2 ms reaction"),
                     figures);
        valid = valid && allValid(figures);
    }
    if (section(QStringLiteral("server"))) {
        const QList<Figure> figures = benchLensd(5 * options->runs, reaction);
        printFigures(QStringLiteral("tavro-lensd; baseline: the same exchange made by the driver, as the tool "
                                    "makes it (2 ms reaction)"),
                     figures);
        valid = valid && allValid(figures);
    }
    if (section(QStringLiteral("flows"))) {
        QList<Figure> figures = benchFlows(BenchBoard::Tavro, options->runs, options->pauseScale, reaction);
        figures << benchFlows(BenchBoard::Pellan, options->runs, options->pauseScale, reaction);
        figures << benchTrafficWindow(options->runs, options->pauseScale, reaction);
        printFigures(QStringLiteral("Window flows, pauses at 1/%1; floor: pauses at 1/%1 + every frame and "
                                    "reply on the wire + 2 ms reaction each")
                         .arg(options->pauseScale),
                     figures);
        valid = valid && allValid(figures);
    }
    if (section(QStringLiteral("start"))) {
        const QString programs = QApplication::applicationDirPath();
        QList<Figure> figures = benchStart(programs, 2 * options->runs + 1);
        figures << benchToolStart(programs, 4 * options->runs + 1);
        printFigures(QStringLiteral("Program start; baselines: a bare QMainWindow (offscreen), a bare "
                                    "QCoreApplication printing its version"),
                     figures);
        valid = valid && allValid(figures);
    }
    std::printf("\nLoad average after: %s\n", qPrintable(loadAverage()));
    return valid ? 0 : 1;
}
