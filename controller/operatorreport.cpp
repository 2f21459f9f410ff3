#include "operatorreport.h"

#include <QString>

namespace {

void showMessageBox(QMessageBox::Icon icon, const QString &text, const QString &detail)
{
    QMessageBox box;
    box.setIcon(icon);
    box.setText(text);
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

OperatorReport::Reporter &currentReporter()
{
    static OperatorReport::Reporter reporter = showMessageBox;
    return reporter;
}

} // namespace

void OperatorReport::show(QMessageBox::Icon icon, const QString &text, const QString &detail)
{
    currentReporter()(icon, text, detail);
}

OperatorReport::Reporter OperatorReport::setReporter(Reporter reporter)
{
    Reporter previous = currentReporter();
    currentReporter() = reporter ? std::move(reporter) : Reporter(showMessageBox);
    return previous;
}

OperatorReport::Reporter OperatorReport::setReporter(BriefReporter reporter)
{
    if (!reporter)
        return setReporter(Reporter());
    return setReporter([reporter](QMessageBox::Icon icon, const QString &text, const QString &) {
        reporter(icon, text);
    });
}
