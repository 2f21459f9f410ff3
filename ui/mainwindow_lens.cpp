// The lens in its own units: the profile in use for the board type, the
// units beside the fields, the profile dialog, the measurement of the motors'
// speeds into the profile and the focus that follows the zoom.

#include "mainwindow.h"

#include "focustracking.h"
#include "lensactions.h"
#include "lensprofiledialog.h"
#include "lensprofileinuse.h"
#include "lensunitlabels.h"
#include "operatorreport.h"
#include "speedmeasurement.h"
#include "speedmeasurementdialog.h"
#include "speedmeasurementtask.h"
#include "ui_mainwindow.h"

#include <QSettings>
#include <QStatusBar>

void MainWindow::setUpLensUnits()
{
    LensUnits &units = m_actions->units();
    new LensUnitLabels(units, {ui->lbl_zoomUnits, ui->lbl_focusUnits, ui->lbl_irisUnits}, ui->lbl_angleOfView);
    m_profileInUse = std::make_unique<LensProfileInUse>(*m_settings, units);
    m_profileInUse->load(m_controllerType);
    connect(ui->action_lensProfile, &QAction::triggered, this, &MainWindow::openProfileDialog);
    m_speedMeasurement = std::make_unique<SpeedMeasurementTask>(*m_actions, *m_operations);
    connect(ui->action_measureSpeeds, &QAction::triggered, this, &MainWindow::measureSpeeds);
    // Once the profile in use is known: a kept wish it cannot meet is told.
    m_focusTracking = std::make_unique<FocusTracking>(*m_actions, ui->action_trackFocus, *m_settings);
    connect(m_actions.get(), &LensActions::told, statusBar(), &QStatusBar::showMessage);
}

void MainWindow::openProfileDialog()
{
    if (!m_profileDialog) {
        m_profileDialog = new LensProfileDialog(m_actions->units(), this);
        // A profile in use that was saved anew is read again.
        connect(m_profileDialog, &LensProfileDialog::saved, this, [this](const QString &file) {
            if (file == m_profileInUse->path(m_controllerType))
                m_profileInUse->use(m_controllerType, file);
        });
        connect(m_profileDialog, &LensProfileDialog::useRequested, this,
                [this](const QString &file) { m_profileInUse->use(m_controllerType, file); });
        m_profileDialog->edit(m_profileInUse->path(m_controllerType), LensProfileInUse::boardName(m_controllerType));
    }
    m_profileDialog->show();
    m_profileDialog->raise();
    m_profileDialog->activateWindow();
}

void MainWindow::measureSpeeds()
{
    if (!m_actions->session() || !ui->groupBox_lensControl->isEnabled()) {
        OperatorReport::show(OperatorReport::Severity::Warning,
                             tr("Measuring the speeds needs the board in service: choose it in the settings and "
                                "Save first."));
        return;
    }
    const QString path = m_profileInUse->path(m_controllerType);
    if (path.isEmpty()) {
        OperatorReport::show(OperatorReport::Severity::Warning,
                             tr("Measuring the speeds needs a lens profile in use, which they are written into: "
                                "choose one in Lens ▸ Profile…"));
        return;
    }
    // As the file is now: every key but the speeds is written back as read.
    const LensProfile::Read read = LensProfile::readFileFor(path, LensProfileInUse::boardName(m_controllerType));
    if (!read.profile) {
        OperatorReport::show(OperatorReport::Severity::Warning, read.error);
        return;
    }
    if (!m_speedDialog) {
        m_speedDialog = new SpeedMeasurementDialog(this);
        connect(m_speedDialog, &SpeedMeasurementDialog::cancelRequested, m_speedMeasurement.get(),
                &SpeedMeasurementTask::cancel);
        connect(m_speedMeasurement.get(), &SpeedMeasurementTask::measured, m_speedDialog,
                &SpeedMeasurementDialog::addLine);
        connect(m_speedMeasurement.get(), &SpeedMeasurementTask::ended, this,
                [this](SpeedMeasurementTask::End end, const QString &text) {
                    m_speedDialog->hide();
                    switch (end) {
                    case SpeedMeasurementTask::End::Written:
                        // The new speeds are in use at once: a timed recall needs them.
                        m_profileInUse->load(m_controllerType);
                        if (m_profileDialog)
                            m_profileDialog->takeSpeeds(m_profileInUse->path(m_controllerType));
                        statusBar()->showMessage(text);
                        break;
                    case SpeedMeasurementTask::End::Failed:
                        OperatorReport::show(OperatorReport::Severity::Warning, text);
                        break;
                    case SpeedMeasurementTask::End::Cancelled:
                        statusBar()->showMessage(tr("Speed measurement cancelled: the profile is left as it was."));
                        break;
                    }
                });
    }
    // Shown once the operation has begun, as a dialog of its own that keeps
    // its input while the window's is dropped.
    if (!m_speedMeasurement->start(path, read.profile->data()))
        return;
    m_speedDialog->start(SpeedMeasurement::count(m_controllerType));
    m_speedDialog->show();
    m_speedDialog->raise();
    m_speedDialog->activateWindow();
}
