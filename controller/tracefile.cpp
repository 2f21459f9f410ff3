#include "tracefile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <atomic>

namespace {

std::atomic<TraceFile *> activeTrace{nullptr};

// Set while a thread writes to the trace: a line logged on the way (by the
// file itself, say) must not wait for the lock that thread holds.
thread_local bool writing = false;

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
    open();
    Q_ASSERT(!activeTrace);
    activeTrace = this;
    m_previousHandler = qInstallMessageHandler(handleMessage);
    if (!isOpen())
        qWarning() << "The trace file could not be opened:" << m_path << m_file.errorString();
}

TraceFile::~TraceFile()
{
    qInstallMessageHandler(m_previousHandler);
    activeTrace = nullptr;
    // A line on its way to the file on another thread is written out first.
    const std::lock_guard<std::mutex> lock(m_mutex);
}

bool TraceFile::isOpen() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_file.isOpen();
}

void TraceFile::handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    TraceFile *trace = activeTrace;
    if (!trace)
        return;
    if (!writing) {
        writing = true;
        trace->write(type, message);
        writing = false;
    }
    trace->m_previousHandler(type, context, message);
}

void TraceFile::write(QtMsgType type, const QString &message)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray line = (now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs)
                             + QLatin1Char(' ') + QLatin1String(levelName(type)) + QStringLiteral(": ")
                             + message + QLatin1Char('\n'))
                                .toUtf8();
    const std::lock_guard<std::mutex> lock(m_mutex);
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
