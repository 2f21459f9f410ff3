#include "speedmeasurementdialog.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

SpeedMeasurementDialog::SpeedMeasurementDialog(QWidget *window)
    : QDialog(window, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_step(new QLabel(this))
    , m_bar(new QProgressBar(this))
    , m_lines(new QPlainTextEdit(this))
    , m_cancel(nullptr)
{
    setObjectName(QStringLiteral("speedMeasurement"));
    m_lines->setObjectName(QStringLiteral("te_measuredSpeeds"));
    setWindowTitle(tr("Measure speeds"));
    setMinimumWidth(380);
    m_step->setWordWrap(true);
    m_bar->setAccessibleName(tr("Speeds measured"));
    //: The bar's text: speeds measured so far, of all the board's motors have.
    m_bar->setFormat(tr("%v of %m"));
    m_lines->setReadOnly(true);
    m_lines->setAccessibleName(tr("Measured speeds"));
    auto *buttons = new QDialogButtonBox(this);
    m_cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("pb_cancelMeasurement"));
    connect(buttons, &QDialogButtonBox::rejected, this, &SpeedMeasurementDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_step);
    layout->addWidget(m_bar);
    layout->addWidget(m_lines);
    layout->addWidget(buttons);
}

void SpeedMeasurementDialog::start(int count)
{
    m_step->setText(tr("Each motor travels to and fro at each of its speeds within the profile's limits. "
                       "This takes up to two minutes."));
    m_cancel->setEnabled(true);
    m_bar->setRange(0, count);
    m_bar->setValue(0);
    m_lines->clear();
}

void SpeedMeasurementDialog::addLine(const QString &line)
{
    m_lines->appendPlainText(line);
    m_bar->setValue(m_bar->value() + 1);
}

// Stays up until the measurement has stopped the motor and ended.
void SpeedMeasurementDialog::reject()
{
    if (!m_cancel->isEnabled())
        return;
    m_cancel->setEnabled(false);
    m_step->setText(tr("Stopping the motor…"));
    emit cancelRequested();
}

void SpeedMeasurementDialog::closeEvent(QCloseEvent *event)
{
    event->ignore();
    reject();
}
