#include "startbench.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

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

Start launch(const QByteArray &program, const QByteArray &folder)
{
    int output[2];
    if (::pipe(output) != 0)
        return {0, 0, false};
    char *const argv[] = {const_cast<char *>(program.constData()), nullptr};
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only what is safe between fork and exec in a program with threads.
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (::chdir(folder.constData()) != 0 || quiet < 0)
            ::_exit(127);
        ::dup2(output[1], STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        ::execv(argv[0], argv);
        ::_exit(127);
    }
    ::close(output[1]);
    const bool shown = pid > 0 && awaitLine(output[0]);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    ::close(output[0]);
    if (pid <= 0)
        return {0, 0, false};
    if (!shown)
        ::kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const bool clean = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return {ms, double(usage.ru_maxrss) / 1024.0, shown && clean};
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
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (::chdir(folder.constData()) != 0 || quiet < 0)
            ::_exit(127);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        ::execv(argv.first(), argv.data());
        ::_exit(127);
    }
    if (pid < 0)
        return {0, 0, false};
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const bool clean = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return {ms, double(usage.ru_maxrss) / 1024.0, clean};
}

} // namespace

QList<Figure> benchStart(const QString &programFolder, int runs)
{
    QTemporaryDir folder;
    const QByteArray where = QFile::encodeName(folder.path());
    const QByteArray window = QFile::encodeName(programFolder + QStringLiteral("/bench-window-start"));
    const QByteArray bare = QFile::encodeName(programFolder + QStringLiteral("/bench-bare-start"));

    QList<double> windowMs, bareMs, windowMiB, bareMiB;
    bool valid = folder.isValid();
    // The first start writes config.ini and fills the system's caches.
    for (int run = -1; run < runs; ++run) {
        // Alternating, so a change in the machine's load falls on both alike.
        const Start w = launch(window, where);
        const Start b = launch(bare, where);
        valid = valid && w.ok && b.ok;
        if (run < 0)
            continue;
        windowMs << w.ms;
        bareMs << b.ms;
        windowMiB << w.peakMiB;
        bareMiB << b.peakMiB;
    }
    Figure startTime{QStringLiteral("Start to first show (bare window)"), QStringLiteral("ms"), runs,
                     median(windowMs), median(bareMs), valid};
    Figure memory{QStringLiteral("Peak resident memory (bare window)"), QStringLiteral("MB"), runs,
                  median(windowMiB), median(bareMiB), valid};
    return {startTime, memory};
}

QList<Figure> benchToolStart(const QString &programFolder, int runs)
{
    QTemporaryDir folder;
    const QByteArray where = QFile::encodeName(folder.path());
    const QList<QByteArray> tool{QFile::encodeName(programFolder + QStringLiteral("/tavro-lensctl")),
                                 QByteArrayLiteral("--version")};
    const QList<QByteArray> bare{QFile::encodeName(programFolder + QStringLiteral("/bench-bare-core-start"))};

    QList<double> toolMs, bareMs, toolMiB, bareMiB;
    bool valid = folder.isValid();
    for (int run = -1; run < runs; ++run) {
        const Start t = runToEnd(tool, where);
        const Start b = runToEnd(bare, where);
        valid = valid && t.ok && b.ok;
        if (run < 0)
            continue;
        toolMs << t.ms;
        bareMs << b.ms;
        toolMiB << t.peakMiB;
        bareMiB << b.peakMiB;
    }
    Figure startTime{QStringLiteral("tavro-lensctl --version (bare console)"),
                     QStringLiteral("ms"), runs, median(toolMs), median(bareMs), valid};
    Figure memory{QStringLiteral("tavro-lensctl peak memory (bare console)"),
                  QStringLiteral("MB"), runs, median(toolMiB), median(bareMiB), valid};
    return {startTime, memory};
}
