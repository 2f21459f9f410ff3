#include "operatorreport.h"

#include <QString>

namespace {

void showMessageBox(QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box;
    box.setIcon(icon);
    box.setText(text);
    box.exec();
}

OperatorReport::Reporter &currentReporter()
{
    static OperatorReport::Reporter reporter = showMessageBox;
    return reporter;
}

} // namespace

void OperatorReport::show(QMessageBox::Icon icon, const QString &text)
{
    currentReporter()(icon, text);
}

OperatorReport::Reporter OperatorReport::setReporter(Reporter reporter)
{
    Reporter previous = currentReporter();
    currentReporter() = reporter ? std::move(reporter) : Reporter(showMessageBox);
    return previous;
}
