// The lens in its own units: the profile in use for the board type, the
// units beside the fields, the profile dialog and the focus that follows the
// zoom.

#include "mainwindow.h"

#include "focustracking.h"
#include "lensactions.h"
#include "lensprofiledialog.h"
#include "lensprofileinuse.h"
#include "lensunitlabels.h"
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
