#include "operatorreport.h"

#include <QDebug>
#include <QString>

namespace {

void logReport(OperatorReport::Severity severity, const QString &text, const QString &detail)
{
    const QString line = detail.isEmpty() ? text : text + QStringLiteral(" (") + detail + QLatin1Char(')');
    switch (severity) {
    case OperatorReport::Severity::Information:
        qInfo().noquote() << line;
        break;
    case OperatorReport::Severity::Warning:
        qWarning().noquote() << line;
        break;
    case OperatorReport::Severity::Critical:
        qCritical().noquote() << line;
        break;
    }
}

OperatorReport::Reporter &defaultReporter()
{
    static OperatorReport::Reporter reporter = logReport;
    return reporter;
}

// Empty while the default reports.
OperatorReport::Reporter &currentReporter()
{
    static OperatorReport::Reporter reporter;
    return reporter;
}

} // namespace

void OperatorReport::show(Severity severity, const QString &text, const QString &detail)
{
    const Reporter &reporter = currentReporter() ? currentReporter() : defaultReporter();
    reporter(severity, text, detail);
}

OperatorReport::Reporter OperatorReport::setReporter(Reporter reporter)
{
    Reporter previous = std::move(currentReporter());
    currentReporter() = std::move(reporter);
    return previous;
}

OperatorReport::Reporter OperatorReport::setReporter(BriefReporter reporter)
{
    if (!reporter)
        return setReporter(Reporter());
    return setReporter([reporter](Severity severity, const QString &text, const QString &) {
        reporter(severity, text);
    });
}

void OperatorReport::setDefaultReporter(Reporter reporter)
{
    defaultReporter() = reporter ? std::move(reporter) : Reporter(logReport);
}
