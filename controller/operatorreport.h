#ifndef OPERATORREPORT_H
#define OPERATORREPORT_H

#include <QMessageBox>

#include <functional>

class QString;

// Every modal report to the operator goes through here, so tests can record the
// reports instead of clicking boxes away.
namespace OperatorReport {

using Reporter = std::function<void(QMessageBox::Icon icon, const QString &text)>;

// Shows the report: by default a parentless, untitled, modal box run with exec().
void show(QMessageBox::Icon icon, const QString &text);

// Replaces the reporter and returns the previous one; an empty reporter restores
// the message box.
Reporter setReporter(Reporter reporter);

} // namespace OperatorReport

#endif // OPERATORREPORT_H
