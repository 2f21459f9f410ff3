// tavro-bench: what the window's flows take against the time the serial line
// itself needs, and what the programs take to start. The transactions and the
// server are timed by tavro-bench-core, which loads no window toolkit.
// Prints figures, never judges them; the exit status says only whether every
// flow went through.
//
//   tavro-bench [--runs N] [--pause-scale S] [--only flows|start]
//
// --runs: runs of each window flow (default 5; program starts twice as often,
// plus one). --pause-scale: the window's and the drivers' pauses sleep 1/S of
// their length (default 10; 1: real pauses).

#include "benchrun.h"
#include "flowbench.h"
#include "startbench.h"
#include "tracefile.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr std::chrono::microseconds reaction{2000};

} // namespace

int main(int argc, char *argv[])
{
    // The Pellan driver keeps its presets in the user's settings, and the
    // program its trace in the user's data; the bench's go to folders of its
    // own, and so do those of the programs it starts.
    QTemporaryDir userFolders;
    useOwnUserFolders(userFolders);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    // The drivers and the window log as in the program: to standard error and
    // to the trace file.
    const TraceFile trace(TraceFile::defaultPath());
    const std::optional<BenchOptions> options = parseBenchArguments(
        QApplication::arguments(), {QStringLiteral("flows"), QStringLiteral("start")});
    if (!options) {
        std::fprintf(stderr, "Usage: tavro-bench [--runs N] [--pause-scale S>=1] [--only flows|start]\n");
        return 2;
    }

    bool valid = true;
    const auto section = [&](const QString &name) { return options->only.isEmpty() || options->only == name; };
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
        printFigures(QStringLiteral("Program start; baselines: a bare QMainWindow (offscreen), the window's "
                                    "form alone, a bare QCoreApplication printing its version"),
                     figures);
        valid = valid && allValid(figures);
    }
    return valid ? 0 : 1;
}
