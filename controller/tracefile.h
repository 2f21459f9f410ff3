#ifndef TRACEFILE_H
#define TRACEFILE_H

#include <QFile>
#include <QString>
#include <QtGlobal>

// While it exists, every line of the Qt message log also goes to a file, with
// its local time (ISO 8601, milliseconds and offset) and its level; the message
// handler that was installed before keeps getting every line as it did. The
// file moves to PATH.1 once it would grow beyond rotateBytes, the older ones
// to PATH.2 and so on, and keptFiles files are kept in all. A file that cannot
// be opened or written costs no more than its lines: the program carries on.
// Lines may come from any thread, also while the trace is made or destroyed.
// One at a time.
class TraceFile
{
public:
    static constexpr qint64 defaultRotateBytes = 1024 * 1024;
    static constexpr int defaultKeptFiles = 3;

    // The environment variable TAVRO_TRACE_FILE when it is set, otherwise
    // trace.log in the folder "Corvane/Tavro Lens Controller" in the user's
    // application data. The window names the application after config.ini, so
    // the folder does not follow the application's names.
    static QString defaultPath();

    explicit TraceFile(const QString &path, qint64 rotateBytes = defaultRotateBytes,
                       int keptFiles = defaultKeptFiles);
    ~TraceFile();
    TraceFile(const TraceFile &) = delete;
    TraceFile &operator=(const TraceFile &) = delete;

    QString path() const { return m_path; }
    // False when the file could not be opened; lines then go to the previous
    // handler only.
    bool isOpen() const;

private:
    static void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message);
    void write(const QByteArray &line);
    void rotate();
    bool open();

    const QString m_path;
    const qint64 m_rotateBytes;
    const int m_keptFiles;
    QFile m_file;
    qint64 m_size = 0;
};

#endif // TRACEFILE_H
