#include "operationprogressdialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

OperationProgressDialog::OperationProgressDialog(QWidget *window)
    : QDialog(window, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_step(new QLabel(this))
    , m_detail(new QLabel(this))
    , m_bar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("operationProgress"));
    m_step->setObjectName(QStringLiteral("lbl_operationStep"));
    m_detail->setObjectName(QStringLiteral("lbl_operationDetail"));
    setWindowTitle(window->windowTitle());
    setMinimumWidth(320);
    m_bar->setTextVisible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_step);
    layout->addWidget(m_bar);
    layout->addWidget(m_detail);
    m_bar->setRange(0, 0);
}

void OperationProgressDialog::setStep(const QString &step)
{
    m_step->setText(step);
    if (m_pauseMs == 0)
        showBusy(QString());
}

void OperationProgressDialog::showWait(KeepAlive::Reason reason, qint64 remainingMs)
{
    if (reason == KeepAlive::Reason::Board) {
        showBusy(tr("Waiting for the board to answer…"));
        return;
    }
    if (remainingMs <= 0) {
        m_pauseMs = 0;
        showBusy(QString());
        return;
    }
    if (m_pauseMs == 0) {
        m_pauseMs = remainingMs;
        m_bar->setRange(0, int(m_pauseMs));
    }
    m_bar->setValue(int(m_pauseMs - qMin(remainingMs, m_pauseMs)));
    const qint64 seconds = (remainingMs + 999) / 1000;
    m_detail->setText(tr("%n s left", nullptr, int(seconds)));
}

// Escape would otherwise hide the dialog while the board still works.
void OperationProgressDialog::reject() {}

// Closing the dialog (a window manager's key, say) asks for the window's
// close, which waits for the end of the operation.
void OperationProgressDialog::closeEvent(QCloseEvent *event)
{
    event->ignore();
    parentWidget()->close();
}

void OperationProgressDialog::showBusy(const QString &detail)
{
    m_bar->setRange(0, 0);
    m_detail->setText(detail);
}
