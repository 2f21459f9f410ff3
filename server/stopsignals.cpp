#include "stopsignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

StopSignals *instance = nullptr;

#ifdef Q_OS_WIN
BOOL WINAPI consoleHandler(DWORD)
{
    QMetaObject::invokeMethod(instance, &StopSignals::received, Qt::QueuedConnection);
    return TRUE;
}
#else
// Written to from the signal handler, the only thing it may safely do.
int pipeEnds[2] = {-1, -1};

void signalHandler(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
}
#endif

} // namespace

StopSignals::StopSignals(QObject *parent)
    : QObject(parent)
{
    Q_ASSERT(!instance);
    instance = this;
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(consoleHandler, TRUE);
#else
    if (::pipe(pipeEnds) != 0)
        return;
    ::fcntl(pipeEnds[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(pipeEnds[0], &byte, 1);
        emit received();
    });
    struct sigaction action = {};
    action.sa_handler = signalHandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
#endif
}

StopSignals::~StopSignals()
{
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(consoleHandler, FALSE);
#else
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    delete m_notifier;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
#endif
    instance = nullptr;
}
