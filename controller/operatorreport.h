#ifndef OPERATORREPORT_H
#define OPERATORREPORT_H

#include <QMessageBox>

#include <functional>

class QString;

// Every modal report to the operator goes through here, so tests can record the
// reports instead of clicking boxes away.
namespace OperatorReport {

// detail is the box's detailed text (the system's own reason, say), empty when
// there is none.
using Reporter = std::function<void(QMessageBox::Icon icon, const QString &text, const QString &detail)>;
// For a reporter that has no use for the detail.
using BriefReporter = std::function<void(QMessageBox::Icon icon, const QString &text)>;

// Shows the report: by default a parentless, untitled, modal box run with exec().
void show(QMessageBox::Icon icon, const QString &text, const QString &detail = QString());

// Replaces the reporter and returns the previous one; an empty reporter restores
// the message box.
Reporter setReporter(Reporter reporter);
Reporter setReporter(BriefReporter reporter);

} // namespace OperatorReport

#endif // OPERATORREPORT_H
