#include "operationprogressdialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

OperationProgressDialog::OperationProgressDialog(QWidget *window)
    : OperationProgress(window, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
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
    // The labels read as their texts; the bar has none.
    m_bar->setAccessibleName(tr("Progress"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_step);
    layout->addWidget(m_bar);
    layout->addWidget(m_detail);
    m_bar->setRange(0, 0);
}

void OperationProgressDialog::start(const QString &step)
{
    m_plannedMs = m_aheadMs = m_pauseMs = 0;
    setStep(step);
}

void OperationProgressDialog::setStep(const QString &step)
{
    m_step->setText(step);
    if (m_pauseMs == 0)
        showBetweenPauses();
}

void OperationProgressDialog::showWait(KeepAlive::Reason reason, qint64 remainingMs)
{
    switch (reason) {
    case KeepAlive::Reason::PausesAhead:
        // Shown from the next wait on: a driver announcing its own pauses
        // right after the window's must not raise a figure already shown.
        m_plannedMs += remainingMs;
        m_aheadMs += remainingMs;
        return;
    case KeepAlive::Reason::Board:
        showBetweenPauses();
        m_detail->setText(tr("Waiting for the board to answer…"));
        return;
    case KeepAlive::Reason::Pause:
        break;
    }
    if (remainingMs <= 0) {
        m_pauseMs = 0;
        showBetweenPauses();
        return;
    }
    if (m_pauseMs == 0) {
        m_pauseMs = remainingMs;
        m_pausePlanned = remainingMs <= m_aheadMs;
        if (m_pausePlanned)
            m_aheadMs -= remainingMs;
    }
    const qint64 left = qMin(remainingMs, m_pauseMs);
    if (m_pausePlanned)
        showLeft(left + m_aheadMs, m_plannedMs);
    else
        showLeft(left, m_pauseMs);
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

void OperationProgressDialog::showBetweenPauses()
{
    if (m_plannedMs > 0) {
        showLeft(m_aheadMs, m_plannedMs);
        return;
    }
    // Busy, with no end in sight.
    m_bar->setRange(0, 0);
    m_detail->clear();
}

void OperationProgressDialog::showLeft(qint64 leftMs, qint64 totalMs)
{
    m_bar->setRange(0, int(totalMs));
    m_bar->setValue(int(totalMs - leftMs));
    // A second begun counts as a whole one.
    //: Seconds until the board is ready again after a pause it needs.
    m_detail->setText(leftMs > 0 ? tr("%n s left", nullptr, int((leftMs + 999) / 1000)) : QString());
}
