#include "tracefile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

// One lock for the installation and the file, taken by the handler for every
// line: a line that arrives while a trace is being installed waits until the
// handler it goes on to is known, and a trace is never freed under a line that
// is being written. Qt hands a line logged inside a handler (by the file
// itself, say) straight to standard error, so the handler never waits for a
// lock its own thread holds.
std::mutex traceMutex;
TraceFile *activeTrace = nullptr;
// The handler installed before the trace, which gets every line as before. It
// outlives the trace: a thread that picked up the trace's handler just before
// it was removed still hands its line on.
QtMessageHandler nextHandler = nullptr;

const char *levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "unknown";
}

// Local time to the millisecond with its offset from UTC, as Qt::ISODateWithMs
// writes and reads it ("2026-12-07T14:05:17.352+01:00", "Z" at UTC), spelled
// out here: the general conversion and formatting took most of what a line
// cost, and every exchange with a board writes several lines.
QByteArray timeStamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    const int offset = now.offsetFromUtc();
    // Room for any offset the type can hold, not only the real ones (at
    // most 14 hours): the compiler cannot know them.
    char zone[16] = "Z";
    if (offset != 0)
        std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+', std::abs(offset) / 3600,
                      std::abs(offset) % 3600 / 60);
    char stamp[64];
    const int length = std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%s", date.year(),
                                     date.month(), date.day(), time.hour(), time.minute(), time.second(),
                                     time.msec(), zone);
    return QByteArray(stamp, length);
}

QByteArray traceLine(QtMsgType type, const QString &message)
{
    return timeStamp() + ' ' + levelName(type) + ": " + message.toUtf8() + '\n';
}

QString numbered(const QString &path, int number)
{
    return number == 0 ? path : path + QLatin1Char('.') + QString::number(number);
}

} // namespace

QString TraceFile::defaultPath()
{
    const QString moved = qEnvironmentVariable("TAVRO_TRACE_FILE");
    if (!moved.isEmpty())
        return moved;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Corvane/Tavro Lens Controller/trace.log");
}

TraceFile::TraceFile(const QString &path, qint64 rotateBytes, int keptFiles)
    : m_path(path)
    , m_rotateBytes(rotateBytes)
    , m_keptFiles(keptFiles)
{
    // No other thread can reach the file before the trace is published.
    const QString failure = open() ? QString() : m_file.errorString();
    {
        const std::lock_guard<std::mutex> lock(traceMutex);
        Q_ASSERT(!activeTrace);
        nextHandler = qInstallMessageHandler(handleMessage);
        activeTrace = this;
    }
    if (!failure.isNull())
        qWarning() << "The trace file could not be opened:" << m_path << failure;
}

TraceFile::~TraceFile()
{
    // A line being written on another thread is finished first; one that
    // comes later finds no trace and only goes on.
    const std::lock_guard<std::mutex> lock(traceMutex);
    qInstallMessageHandler(nextHandler);
    activeTrace = nullptr;
}

bool TraceFile::isOpen() const
{
    const std::lock_guard<std::mutex> lock(traceMutex);
    return m_file.isOpen();
}

void TraceFile::handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QByteArray line = traceLine(type, message);
    QtMessageHandler next = nullptr;
    {
        const std::lock_guard<std::mutex> lock(traceMutex);
        if (activeTrace)
            activeTrace->write(line);
        next = nextHandler;
    }
    next(type, context, message);
}

void TraceFile::write(const QByteArray &line)
{
    if (!m_file.isOpen())
        return;
    if (m_size > 0 && m_size + line.size() > m_rotateBytes)
        rotate();
    // A line that cannot be written is dropped; the next one tries again.
    const qint64 written = m_file.write(line);
    if (written > 0)
        m_size += written;
}

void TraceFile::rotate()
{
    m_file.close();
    QFile::remove(numbered(m_path, m_keptFiles - 1));
    for (int number = m_keptFiles - 2; number >= 0; --number)
        QFile::rename(numbered(m_path, number), numbered(m_path, number + 1));
    open();
}

bool TraceFile::open()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    m_size = m_file.size();
    return true;
}
