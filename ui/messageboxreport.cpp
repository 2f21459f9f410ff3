#include "messageboxreport.h"

#include "operatorreport.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon iconOf(OperatorReport::Severity severity)
{
    switch (severity) {
    case OperatorReport::Severity::Information:
        return QMessageBox::Information;
    case OperatorReport::Severity::Warning:
        return QMessageBox::Warning;
    case OperatorReport::Severity::Critical:
        break;
    }
    return QMessageBox::Critical;
}

// Opened, not run in an event loop of its own: the window goes on while the
// operator reads.
void showMessageBox(OperatorReport::Severity severity, const QString &text, const QString &detail)
{
    auto *box = new QMessageBox;
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(iconOf(severity));
    box->setText(text);
    if (!detail.isEmpty())
        box->setDetailedText(detail);
    box->open();
}

} // namespace

void MessageBoxReport::install()
{
    OperatorReport::setDefaultReporter(showMessageBox);
}
