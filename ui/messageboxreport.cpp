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

void showMessageBox(OperatorReport::Severity severity, const QString &text, const QString &detail)
{
    QMessageBox box;
    box.setIcon(iconOf(severity));
    box.setText(text);
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

} // namespace

void MessageBoxReport::install()
{
    OperatorReport::setDefaultReporter(showMessageBox);
}
