#ifndef CONSOLELOG_H
#define CONSOLELOG_H

#include "operatorreport.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <utility>

class QTextStream;
class TraceFile;

namespace ExchangeLog {
class Subscription;
}

// While it exists, what the drivers tell the operator and the Qt log go to the
// console instead of message boxes and a flood of trace lines: the drivers'
// operator reports are kept for the tool's one failure line, and only with
// verbose are they, the log's warnings and errors, and every exchange with the
// board in words, written to err. When TAVRO_TRACE_FILE names a file, the
// whole log is added to it as the program writes its trace file. One at a
// time; the previous handler and reporter come back when it goes.
class ConsoleLog
{
public:
    ConsoleLog(QTextStream &err, bool verbose);
    ~ConsoleLog();
    ConsoleLog(const ConsoleLog &) = delete;
    ConsoleLog &operator=(const ConsoleLog &) = delete;

    // The first line of the first operator report since the last call, with
    // the system's reason, such as "Could not open serial port: ttyUSB0
    // (Permission denied)"; empty when there was none.
    QString takeFirstReport() { return std::exchange(m_firstReport, QString()); }

private:
    static void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message);
    void report(const QString &text, const QString &detail);

    QTextStream &m_err;
    bool m_verbose;
    QString m_firstReport;
    QtMessageHandler m_previousHandler;
    OperatorReport::Reporter m_previousReporter;
    std::unique_ptr<ExchangeLog::Subscription> m_exchanges;
    std::unique_ptr<TraceFile> m_trace;
};

#endif // CONSOLELOG_H
