#include "startbench.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A program that has not shown its window by then is not going to.
constexpr int showTimeoutMs = 30000;

struct Start
{
    double ms;
    double peakMiB;
    // Shown, or for a program that only runs, ended without an error.
    bool ok;
};

// Reads the child's standard output until its first line or the time-out.
bool awaitLine(int fd)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray line;
    while (!line.contains('\n')) {
        const qint64 leftMs = showTimeoutMs - timer.elapsed();
        pollfd watch{fd, POLLIN, 0};
        if (leftMs <= 0 || ::poll(&watch, 1, int(leftMs)) <= 0)
            return false;
        char buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        line.append(buffer, got);
    }
    return line.startsWith("shown");
}

// Forks and runs argv in folder, its standard output going to output (or
// nowhere when output is -1) and its standard error nowhere; the child's pid,
// or -1.
pid_t spawn(char *const argv[], const QByteArray &folder, int output)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only what is safe between fork and exec in a program with threads.
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (::chdir(folder.constData()) != 0 || quiet < 0)
            ::_exit(127);
        ::dup2(output >= 0 ? output : quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        ::execv(argv[0], argv);
        ::_exit(127);
    }
    return pid;
}

// Waits for the child's end; whether it exited with 0, and its peak
// resident memory in MiB.
bool reap(pid_t pid, double *peakMiB)
{
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    *peakMiB = double(usage.ru_maxrss) / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Start launch(const QByteArray &program, const QByteArray &folder)
{
    int output[2];
    if (::pipe(output) != 0)
        return {0, 0, false};
    char *const argv[] = {const_cast<char *>(program.constData()), nullptr};
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = spawn(argv, folder, output[1]);
    ::close(output[1]);
    const bool shown = pid > 0 && awaitLine(output[0]);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    ::close(output[0]);
    if (pid <= 0)
        return {0, 0, false};
    if (!shown)
        ::kill(pid, SIGKILL);
    double peakMiB = 0;
    const bool clean = reap(pid, &peakMiB);
    return {ms, peakMiB, shown && clean};
}

// Runs the program with its arguments to its end, its output going nowhere.
Start runToEnd(const QList<QByteArray> &arguments, const QByteArray &folder)
{
    QList<char *> argv;
    for (const QByteArray &argument : arguments)
        argv << const_cast<char *>(argument.constData());
    argv << nullptr;
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = spawn(argv.data(), folder, -1);
    if (pid < 0)
        return {0, 0, false};
    double peakMiB = 0;
    const bool clean = reap(pid, &peakMiB);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return {ms, peakMiB, clean};
}

// A program the start figures compare with, named in the figures.
struct Baseline
{
    QString name;
    std::function<Start()> start;
};

// Starts the program and then each baseline, runs times after a first round
// that is not counted (it writes config.ini and fills the system's caches),
// in turn so that a change in the machine's load falls on all alike; the
// program's start time against each baseline's, then its peak memory against
// each's, named by what with the baseline's name in brackets.
QList<Figure> startsAgainst(const std::function<Start()> &program, const QList<Baseline> &baselines, int runs,
                            bool valid, const QString &timeName, const QString &memoryName)
{
    QList<double> programMs, programMiB;
    QList<QList<double>> baselineMs(baselines.size()), baselineMiB(baselines.size());
    for (int run = -1; run < runs; ++run) {
        const Start p = program();
        valid = valid && p.ok;
        if (run >= 0) {
            programMs << p.ms;
            programMiB << p.peakMiB;
        }
        for (qsizetype i = 0; i < baselines.size(); ++i) {
            const Start b = baselines.at(i).start();
            valid = valid && b.ok;
            if (run >= 0) {
                baselineMs[i] << b.ms;
                baselineMiB[i] << b.peakMiB;
            }
        }
    }
    QList<Figure> figures;
    for (qsizetype i = 0; i < baselines.size(); ++i)
        figures << Figure{QStringLiteral("%1 (%2)").arg(timeName, baselines.at(i).name), QStringLiteral("ms"), runs,
                          median(programMs), median(baselineMs.at(i)), valid};
    for (qsizetype i = 0; i < baselines.size(); ++i)
        figures << Figure{QStringLiteral("%1 (%2)").arg(memoryName, baselines.at(i).name), QStringLiteral("MB"),
                          runs, median(programMiB), median(baselineMiB.at(i)), valid};
    return figures;
}

} // namespace

QList<Figure> benchStart(const QString &programFolder, int runs)
{
    QTemporaryDir folder;
    const QByteArray where = QFile::encodeName(folder.path());
    const QByteArray window = QFile::encodeName(programFolder + QStringLiteral("/bench-window-start"));
    const QByteArray bare = QFile::encodeName(programFolder + QStringLiteral("/bench-bare-start"));
    const QByteArray form = QFile::encodeName(programFolder + QStringLiteral("/bench-form-start"));
    return startsAgainst([&] { return launch(window, where); },
                         {{QStringLiteral("bare window"), [&] { return launch(bare, where); }},
                          {QStringLiteral("form"), [&] { return launch(form, where); }}},
                         runs, folder.isValid(), QStringLiteral("Start to first show"),
                         QStringLiteral("Peak resident memory"));
}

QList<Figure> benchToolStart(const QString &programFolder, int runs)
{
    QTemporaryDir folder;
    const QByteArray where = QFile::encodeName(folder.path());
    const QList<QByteArray> tool{QFile::encodeName(programFolder + QStringLiteral("/tavro-lensctl")),
                                 QByteArrayLiteral("--version")};
    const QList<QByteArray> bare{QFile::encodeName(programFolder + QStringLiteral("/bench-bare-core-start"))};
    return startsAgainst([&] { return runToEnd(tool, where); },
                         {{QStringLiteral("bare console"), [&] { return runToEnd(bare, where); }}}, runs,
                         folder.isValid(), QStringLiteral("tavro-lensctl --version"),
                         QStringLiteral("tavro-lensctl peak memory"));
}
