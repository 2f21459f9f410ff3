#ifndef OPERATORREPORT_H
#define OPERATORREPORT_H

#include <QString>

#include <functional>

// Every modal report to the operator goes through here, so tests can record the
// reports instead of clicking boxes away.
namespace OperatorReport {

enum class Severity { Information, Warning, Critical };

// detail is the system's own reason, say, empty when there is none.
using Reporter = std::function<void(Severity severity, const QString &text, const QString &detail)>;
// For a reporter that has no use for the detail.
using BriefReporter = std::function<void(Severity severity, const QString &text)>;

// A report as data, as the window words it before it shows it.
struct Report
{
    Severity severity = Severity::Critical;
    QString text;
    QString detail;
};

// Hands the report to the reporter in place. Console programs have no window
// to show a box in: by default a report is a line of the log, at its
// severity's level, with the detail after it.
void show(Severity severity, const QString &text, const QString &detail = QString());

// Replaces the reporter and returns the previous one; an empty reporter restores
// the default.
Reporter setReporter(Reporter reporter);
Reporter setReporter(BriefReporter reporter);

// What an empty reporter stands for: a program with a window makes its
// message box the default. An empty one restores the log line.
void setDefaultReporter(Reporter reporter);

} // namespace OperatorReport

#endif // OPERATORREPORT_H
