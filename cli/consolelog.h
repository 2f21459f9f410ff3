#ifndef CONSOLELOG_H
#define CONSOLELOG_H


#include <QString>
#include <QtGlobal>

#include <memory>

class QTextStream;
class TraceFile;

namespace ExchangeLog {
class Subscription;
}

// While it exists, the Qt log goes to the console instead of a flood of trace
// lines: only with verbose are the log's warnings and errors, and every
// exchange with the board in words, written to err. When TAVRO_TRACE_FILE
// names a file, the whole log is added to it as the program writes its trace
// file. One at a time; the previous handler comes back when it goes.
class ConsoleLog
{
public:
    ConsoleLog(QTextStream &err, bool verbose);
    ~ConsoleLog();
    ConsoleLog(const ConsoleLog &) = delete;
    ConsoleLog &operator=(const ConsoleLog &) = delete;

private:
    static void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message);

    QTextStream &m_err;
    bool m_verbose;
    QtMessageHandler m_previousHandler;
    std::unique_ptr<ExchangeLog::Subscription> m_exchanges;
    std::unique_ptr<TraceFile> m_trace;
};

#endif // CONSOLELOG_H
