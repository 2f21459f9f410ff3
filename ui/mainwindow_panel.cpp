// The settings panel's widgets: which controls the chosen board type offers,
// and the switch between editing the settings and operating the lens.

#include "mainwindow.h"

#include "controller.h"
#include "lensactions.h"
#include "ui_mainwindow.h"

#include <QDebug>
#include <QSettings>

void MainWindow::lensSelectionChanged(int index)
{
    switch (m_controllerType) {
    case BoardType::Tavro:
        if (index == 0) {
            ui->cb_zoomSpeed->setEnabled(false);
            ui->cb_focusSpeed->setEnabled(false);
        } else if (index == 1 || index == 2) {
            ui->cb_zoomSpeed->setEnabled(true);
            ui->cb_focusSpeed->setEnabled(true);
        }
        break;
    case BoardType::Pellan:
        ui->cb_zoomSpeed->setEnabled(false);
        ui->cb_focusSpeed->setEnabled(true);
        break;
    case BoardType::None:
        break;
    }
}

void MainWindow::initSettings()
{
    qDebug() << "initSettings";
    switch (BoardType(ui->cb_controller->currentIndex())) {
    case BoardType::None:
        qDebug() << "No lens selected";
        break;
    case BoardType::Tavro:
        initTavroController();
        break;
    case BoardType::Pellan:
        initUSMController();
        break;
    default:
        qDebug() << "No valid lens selected";
        break;
    }
}

void MainWindow::toggleSettings()
{
    if (m_settingsState) {
        ui->pb_settingsMultiButton->setText(tr("Edit Settings"));
        // Where a translation shortens the caption to fit, these keep its words in full.
        ui->pb_settingsMultiButton->setToolTip(tr("Edit Settings", "in full"));
        ui->pb_settingsMultiButton->setAccessibleName(tr("Edit Settings", "in full"));
        ui->groupBox_lensControl->setEnabled(true);
        ui->cb_controller->setEnabled(false);
        ui->groupBox_presets->setEnabled(true);
        ui->pb_settingsCancel->setEnabled(false);
        ui->gb_lens->setEnabled(false);
        ui->gb_serialPort->setEnabled(false);
        ui->pb_storeInDevice->setEnabled(true);
        m_settingsState = false;
    } else {
        ui->pb_settingsMultiButton->setText(tr("Save"));
        ui->pb_settingsMultiButton->setToolTip(QString());
        ui->pb_settingsMultiButton->setAccessibleName(QString());
        ui->groupBox_lensControl->setEnabled(false);
        ui->groupBox_presets->setEnabled(false);
        ui->cb_controller->setEnabled(true);
        ui->pb_settingsCancel->setEnabled(true);
        ui->gb_lens->setEnabled(true);
        ui->gb_serialPort->setEnabled(true);
        ui->pb_storeInDevice->setEnabled(false);
        m_settingsState = true;
    }
}

void MainWindow::initTavroController()
{
    qDebug() << "initTavroController";
    m_controllerType = BoardType::Tavro;

    const QString firstLens =
        m_settings->value(QStringLiteral("motor1/name"), QStringLiteral("Default Tavro Lens")).toString();
    const QString secondLens = m_settings->value(QStringLiteral("motor2/name"), QStringLiteral("Default")).toString();
    int lastLens = m_settings->value(QStringLiteral("motor/lastSelected"), 0).toInt();
    // Only the prompt and the two lenses exist; anything else (a hand-edited
    // file) starts on the prompt rather than on no entry at all.
    if (lastLens < 0 || lastLens > 2)
        lastLens = 0;

    ui->cb_lensSelect->clear();
    ui->cb_lensSelect->addItem(tr("Please select lens"));
    ui->cb_lensSelect->addItem(firstLens);
    ui->cb_lensSelect->addItem(secondLens);
    ui->cb_lensSelect->setCurrentIndex(lastLens);

    ui->cb_lensSelect->setEnabled(true);
    ui->cb_longCable->setEnabled(true);
    ui->cb_lensSelect->setVisible(true);
    ui->cb_zoomSpeed->setVisible(true);
    ui->lbl_zoomSpeed->setVisible(true);
}

void MainWindow::initUSMController()
{
    qDebug() << "initUSMController";
    m_controllerType = BoardType::Pellan;

    ui->cb_lensSelect->clear();
    ui->cb_lensSelect->addItem(tr("Focus Lens"));
    ui->cb_lensSelect->setCurrentIndex(0);

    ui->cb_lensSelect->setEnabled(false);
    ui->cb_longCable->setEnabled(false);
    ui->cb_lensSelect->setVisible(false);
    ui->cb_zoomSpeed->setVisible(false);
    ui->lbl_zoomSpeed->setVisible(false);
}

void MainWindow::InitUIForController(const std::function<void()> &then)
{
    m_actions->readPositionsAndRanges(
        m_controllerType == BoardType::Pellan ? LensActions::Reads::Focus : LensActions::Reads::All, [this, then] {
            enableLensControls();
            then();
        });
}

void MainWindow::enableLensControls()
{
    if (m_controllerType == BoardType::Tavro) {
        ui->hs_motor1->setEnabled(true);
        ui->hs_motor2->setEnabled(true);
        ui->hs_motor3->setEnabled(true);
        ui->le_motor1->setEnabled(true);
        ui->le_motor2->setEnabled(true);
        ui->le_motor3->setEnabled(true);
        ui->groupBox_zoom->setEnabled(true);
        ui->groupBox_focus->setEnabled(true);
        ui->groupBox_iris->setEnabled(true);
        ui->pb_zoomWide->setEnabled(true);
        ui->pb_zoomTele->setEnabled(true);
        ui->pb_zoomStop->setEnabled(true);
        ui->pb_focusNear->setEnabled(true);
        ui->pb_focusFar->setEnabled(true);
        ui->pb_focusStop->setEnabled(true);
        ui->pb_irisClose->setEnabled(true);
        ui->pb_irisOpen->setEnabled(true);
        ui->pb_irisStop->setEnabled(true);
        ui->pb_storeInDevice->setText(tr("Store in device"));
    } else if (m_controllerType == BoardType::Pellan) {
        ui->hs_motor2->setEnabled(true);
        ui->le_motor2->setEnabled(true);
        ui->groupBox_focus->setEnabled(true);
        ui->pb_focusNear->setEnabled(true);
        ui->pb_focusFar->setEnabled(true);
        ui->pb_focusStop->setEnabled(true);
        // The focus board has no zoom or iris motor.
        ui->hs_motor1->setEnabled(false);
        ui->le_motor1->setEnabled(false);
        ui->hs_motor3->setEnabled(false);
        ui->le_motor3->setEnabled(false);
        ui->groupBox_zoom->setEnabled(false);
        ui->groupBox_iris->setEnabled(false);
        ui->pb_zoomWide->setEnabled(false);
        ui->pb_zoomTele->setEnabled(false);
        ui->pb_zoomStop->setEnabled(false);
        ui->pb_irisClose->setEnabled(false);
        ui->pb_irisOpen->setEnabled(false);
        ui->pb_irisStop->setEnabled(false);
        ui->pb_storeInDevice->setText(tr("Store presets"));
    }

    ui->groupBox_lensControl->setEnabled(true);
    ui->groupBox_presets->setEnabled(true);
}
