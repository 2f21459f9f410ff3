#include "consolelog.h"

#include "exchangelog.h"
#include "tracedecoder.h"
#include "tracefile.h"

#include <QTextStream>

namespace {

ConsoleLog *activeLog = nullptr;

const char *prefix(QtMsgType type)
{
    switch (type) {
    case QtWarningMsg:
        return "warning: ";
    case QtCriticalMsg:
        return "critical: ";
    case QtFatalMsg:
        return "fatal: ";
    default:
        return nullptr;
    }
}

} // namespace

ConsoleLog::ConsoleLog(QTextStream &err, bool verbose)
    : m_err(err)
    , m_verbose(verbose)
{
    Q_ASSERT(!activeLog);
    activeLog = this;
    m_previousHandler = qInstallMessageHandler(handleMessage);
    if (m_verbose) {
        m_exchanges = std::make_unique<ExchangeLog::Subscription>([this](const ExchangeRecord &record) {
            m_err << "exchange: " << TraceDecoder::describe(record) << '\n';
            m_err.flush();
        });
    }
    // After the handler above, which then gets every line after the file.
    if (!qEnvironmentVariableIsEmpty("TAVRO_TRACE_FILE"))
        m_trace = std::make_unique<TraceFile>(TraceFile::defaultPath());
}

ConsoleLog::~ConsoleLog()
{
    // The file hands the log back to this handler, so it goes first.
    m_trace.reset();
    m_exchanges.reset();
    qInstallMessageHandler(m_previousHandler);
    activeLog = nullptr;
}

// Qt ends the program after a fatal message whatever the handler does, so
// that one is always said.
void ConsoleLog::handleMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    const char *kind = prefix(type);
    if (!kind || (type != QtFatalMsg && !activeLog->m_verbose))
        return;
    activeLog->m_err << kind << message << '\n';
    activeLog->m_err.flush();
}

