// tavro-bench-core: what the drivers and the server take against the time
// the serial line itself needs, from a program on the core library alone, as
// the tool and the server are, so that no window toolkit is loaded beside the
// transactions it times. Prints figures, never judges them; the exit status
// says only whether every exchange went through.
//
//   tavro-bench-core [--runs N] [--pause-scale S] [--only transactions|server|freed]
//   tavro-bench-core --read-kept PORT MS   (the other program the bench starts)
//
// --runs: transactions run 20 times as often, server gotos 5 times.
// --pause-scale is accepted, as scripts/bench hands the same options to both
// bench programs, and has nothing to scale here.

#include "benchrun.h"
#include "freedbench.h"
#include "lensdbench.h"
#include "tracefile.h"
#include "transactionbench.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr std::chrono::microseconds reaction{2000};

} // namespace

int main(int argc, char *argv[])
{
    // The Pellan driver keeps its presets in the user's settings; the bench's
    // go to a folder of its own.
    QTemporaryDir userFolders;
    useOwnUserFolders(userFolders);

    QCoreApplication application(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--read-kept")
        return readBackToBack(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    // The drivers log as in the tool: to standard error and to the trace file.
    const TraceFile trace(TraceFile::defaultPath());
    const std::optional<BenchOptions> options = parseBenchArguments(
        QCoreApplication::arguments(),
        {QStringLiteral("transactions"), QStringLiteral("server"), QStringLiteral("freed")});
    if (!options) {
        std::fprintf(stderr, "Usage: tavro-bench-core [--runs N] [--pause-scale S>=1] "
                             "[--only transactions|server|freed]\n");
        return 2;
    }

    bool valid = true;
    const auto section = [&](const QString &name) { return options->only.isEmpty() || options->only == name; };
    if (section(QStringLiteral("transactions"))) {
        const QList<Figure> figures = benchTransactions(20 * options->runs, reaction);
        printFigures(QStringLiteral("One transaction; floor: frame and reply on the wire + 2 ms reaction"),
                     figures);
        const QList<Figure> waits = benchWaitingProgram(5 * options->runs, reaction, figures.first().median);
        printFigures(QStringLiteral("A program's wait for the port while another reads back to back; baseline: one "
                                    "exchange on the wire + 5 ms"),
                     waits);
        valid = valid && allValid(figures) && allValid(waits);
    }
    if (section(QStringLiteral("server"))) {
        const QList<Figure> figures = benchLensd(5 * options->runs, reaction);
        printFigures(QStringLiteral("tavro-lensd; baseline: the same exchange made by the driver, as the tool "
                                    "makes it (2 ms reaction)"),
                     figures);
        valid = valid && allValid(figures);
    }
    if (section(QStringLiteral("freed"))) {
        const QList<Figure> figures = benchFreed(reaction);
        printFigures(QStringLiteral("tavro-lensd FreeD output, %1 s each; floor: the period, or the reads a second "
                                    "the output needs (2 ms reaction)")
                         .arg(3),
                     figures);
        valid = valid && allValid(figures);
    }
    return valid ? 0 : 1;
}
