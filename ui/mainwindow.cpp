#include "mainwindow.h"

#include "controller.h"
#include "controller_tavro.h"
#include "controller_usm.h"
#ifdef TAVRO_GAMEPAD
#include "gamepadcontrol.h"
#include "gamepaddialog.h"
#endif
#include "helpmenu.h"
#include "keyboardcontrol.h"
#include "lensactions.h"
#include "livepositions.h"
#include "operation.h"
#include "operationmonitor.h"
#include "operatorreport.h"
#include "serialportlist.h"
#include "settingsfile.h"
#include "sliderinput.h"
#include "trafficwindow.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QBitmap>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QPixmap>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString kMakerDomain = QStringLiteral("corvane.example");
const QString kMakerWebAddress = QStringLiteral("https://www.corvane.example");
const QString kMakerWebTitle = QStringLiteral("www.corvane.example");

const int kLogoWidth = 241;

// The reports of the settings panel: each is logged at critical level and then
// shown to the operator.
struct Report
{
    QMessageBox::Icon icon;
    const char *logLine;
    const char *text;
};

const Report kNoPortReport{QMessageBox::Critical, "Error, no serial port selected!",
                           "Please select a valid serial port!"};
const Report kNoBoardReport{QMessageBox::Critical, "No lens controller board detected!",
                            "No lens controller board detected on this serial port!"};
const Report kBoardFoundReport{QMessageBox::Information, "Lens controller board detected!",
                               "Success: Lens controller board detected on this serial port!"};
const Report kNoLensReport{QMessageBox::Critical, "Please select lens!", "Please select lens!"};

// The name of the available port the selector shows, or an empty name for the
// selector's prompt and for a port that has gone since the list was built.
QString findSerialPort(const QString &selectedText)
{
    const QStringList names = availableSerialPortNames();
    for (const QString &name : names) {
        if (name == selectedText)
            return name;
    }
    return QString();
}

// A speed combo with no current entry (a stored index outside Low..High) would
// otherwise hand -1 to the board, which reads it as 255; such a combo counts as
// Low.
int speedLevel(const QComboBox *speedCombo)
{
    return qMax(0, speedCombo->currentIndex());
}

// After a report the operator carries on in the panel; Cancel stays off until
// the next mode switch.
void report(QPushButton *cancelButton, const Report &what, const QString &detail = QString())
{
    cancelButton->setEnabled(false);
    qCritical() << what.logLine;
    OperatorReport::show(what.icon, QString::fromLatin1(what.text), detail);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , m_operations(std::make_unique<OperationMonitor>(this))
{
    qDebug() << "Path: " << QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);

    m_settings = std::make_unique<QSettings>(QStringLiteral("config.ini"), QSettings::IniFormat);

    const QString logoName =
        m_settings->value(QStringLiteral("logo/file"), QStringLiteral(":/images/logo241_101.png")).toString();
    qDebug() << "logo name: " << logoName;
    QPixmap logo(logoName);
    // A picture that cannot be loaded leaves the label empty, without a word.
    if (!logo.isNull())
        logo = logo.scaledToWidth(kLogoWidth, Qt::FastTransformation);

    const QString company = m_settings->value(QStringLiteral("info/company"), QStringLiteral("Qelvar")).toString();
    const QString domain = m_settings->value(QStringLiteral("info/domain"), kMakerDomain).toString();
    const QString appName =
        m_settings->value(QStringLiteral("info/appname"), QStringLiteral("Tavro Lens Controller")).toString();
    QCoreApplication::setOrganizationName(company);
    QCoreApplication::setOrganizationDomain(domain);
    QCoreApplication::setApplicationName(appName);

    // Written back so that an installer can find both link keys in the file. A
    // file that holds both already is left as it is: rewriting it unchanged
    // would cost two synchronised writes to disk on every start.
    const QString webLinkKey = QStringLiteral("info/weblink");
    const QString webLinkTitleKey = QStringLiteral("info/weblinktitle");
    const QString webLink = m_settings->value(webLinkKey, kMakerWebAddress).toString();
    const QString webLinkTitle = m_settings->value(webLinkTitleKey, kMakerWebTitle).toString();
    // Either way the start looks whether the file can be written: the operator
    // learns now, not after a restart, that the choices will not be kept.
    if (!m_settings->contains(webLinkKey) || !m_settings->contains(webLinkTitleKey)) {
        m_settings->setValue(webLinkKey, webLink);
        m_settings->setValue(webLinkTitleKey, webLinkTitle);
    }
    SettingsFile::writeBack(*m_settings);

    ui->setupUi(this);

    // What the lens controls do, and the inputs that ask for it.
    m_actions = std::make_unique<LensActions>(this, *ui, m_comm, *m_operations);
    m_livePositions = std::make_unique<LivePositions>(*m_actions, ui->action_livePositions, *m_settings);
    m_keyboard = std::make_unique<KeyboardControl>(this, *m_actions, *m_operations);
    for (int motor = 0; motor < LensActions::motorCount; ++motor)
        m_sliderInputs[motor] = std::make_unique<SliderInput>(*m_actions, LensActions::Motor(motor), *m_operations);
    m_help = std::make_unique<HelpMenu>(this, ui->action_keyboardControls, ui->action_about);
#ifdef TAVRO_GAMEPAD
    {
        // Pads SDL does not know by themselves: the mapping files in the
        // user's configuration folder and beside config.ini, the latter's
        // mappings winning.
        const QString mappings = QStringLiteral("gamecontrollerdb.txt");
        const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        const PadLayout padLayout = PadLayout::read(*m_settings);
        m_gamepad = std::make_unique<GamepadControl>(
            this, *m_actions, *m_operations, statusBar(), padLayout,
            QStringList{QDir(userFolder).absoluteFilePath(mappings), QDir::current().absoluteFilePath(mappings)});
        m_help->setPadLayout(padLayout);
    }
    connect(ui->action_gamepad, &QAction::triggered, this, [this] {
        auto *dialog = new GamepadDialog(m_gamepad->layout(), m_gamepad.get(), this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QDialog::accepted, this, [this, dialog] {
            const PadLayout layout = dialog->layout();
            layout.write(*m_settings);
            SettingsFile::writeBack(*m_settings);
            m_gamepad->setLayout(layout);
            m_help->setPadLayout(layout);
        });
        dialog->open();
    });
#else
    ui->action_gamepad->setVisible(false);
#endif

    setWindowTitle(appName + QStringLiteral(" - ") + company);

    ui->lbl_pixmap->setPixmap(logo);
    ui->lbl_pixmap->setMask(logo.mask());
    ui->lbl_pixmap->show();

    // Nothing to drive until a board has been saved.
    ui->groupBox_lensControl->setEnabled(false);
    ui->groupBox_presets->setEnabled(false);
    ui->pb_settingsCancel->setEnabled(false);
    ui->pb_storeInDevice->setEnabled(false);

    ui->lbl_corvaneLink->setText(QStringLiteral("<a href=\"") + webLink + QStringLiteral("\">") + webLinkTitle
                                 + QStringLiteral("</a>"));
    ui->lbl_corvaneLink->setTextFormat(Qt::RichText);
    ui->lbl_corvaneLink->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse
                                                 | Qt::LinksAccessibleByKeyboard);
    ui->lbl_corvaneLink->setOpenExternalLinks(true);
    ui->lbl_corvaneLink->setFocusPolicy(Qt::NoFocus);

    const QStringList speeds{QStringLiteral("Low"), QStringLiteral("Medium"), QStringLiteral("High")};
    ui->cb_zoomSpeed->addItems(speeds);
    ui->cb_focusSpeed->addItems(speeds);
    ui->cb_zoomSpeed->setCurrentIndex(m_settings->value(QStringLiteral("motor/zoomSpeed"), 0).toInt());
    ui->cb_focusSpeed->setCurrentIndex(m_settings->value(QStringLiteral("motor/focusSpeed"), 0).toInt());
    ui->cb_zoomSpeed->setEnabled(false);
    ui->cb_focusSpeed->setEnabled(false);

    const QString tavroName =
        m_settings->value(QStringLiteral("controller/tavroName"), QStringLiteral("Tavro Controller")).toString();
    const QString focusName =
        m_settings->value(QStringLiteral("controller/focusName"), QStringLiteral("Pellan Focus Controller"))
            .toString();
    ui->cb_controller->addItem(QStringLiteral("Please select controller"));
    ui->cb_controller->addItem(tavroName);
    ui->cb_controller->addItem(focusName);
    ui->cb_controller->setCurrentIndex(m_settings->value(QStringLiteral("controller/lastSelected"), 0).toInt());

    connect(ui->hs_motor1, &QSlider::sliderReleased, this, &MainWindow::motor1SliderChanged);
    connect(ui->le_motor1, &QLineEdit::editingFinished, this, &MainWindow::motor1LineEditChanged);
    connect(ui->hs_motor2, &QSlider::sliderReleased, this, &MainWindow::motor2SliderChanged);
    connect(ui->le_motor2, &QLineEdit::editingFinished, this, &MainWindow::motor2LineEditChanged);
    connect(ui->hs_motor3, &QSlider::sliderReleased, this, &MainWindow::motor3SliderChanged);
    connect(ui->le_motor3, &QLineEdit::editingFinished, this, &MainWindow::motor3LineEditChanged);
    connect(ui->cb_lensSelect, &QComboBox::currentIndexChanged, this, &MainWindow::lensSelectionChanged);
    connect(ui->pb_refresh, &QPushButton::clicked, this, &MainWindow::refreshClicked);
    connect(ui->pb_storeInDevice, &QPushButton::clicked, this, &MainWindow::storeInDeviceClicked);
    connect(ui->pb_settingsMultiButton, &QPushButton::clicked, this, &MainWindow::settingsMultiClicked);
    connect(ui->pb_settingsCancel, &QPushButton::clicked, this, &MainWindow::cancelSettingsClicked);
    connect(ui->pb_testSerial, &QPushButton::clicked, this, &MainWindow::testSerialClicked);
    connect(ui->pb_callPreset1, &QPushButton::clicked, this, &MainWindow::callPreset1Clicked);
    connect(ui->pb_callPreset2, &QPushButton::clicked, this, &MainWindow::callPreset2Clicked);
    connect(ui->pb_callPreset3, &QPushButton::clicked, this, &MainWindow::callPreset3Clicked);
    connect(ui->pb_callPreset4, &QPushButton::clicked, this, &MainWindow::callPreset4Clicked);
    connect(ui->pb_callPreset5, &QPushButton::clicked, this, &MainWindow::callPreset5Clicked);
    connect(ui->pb_callPreset6, &QPushButton::clicked, this, &MainWindow::callPreset6Clicked);
    connect(ui->pb_callPreset7, &QPushButton::clicked, this, &MainWindow::callPreset7Clicked);
    connect(ui->pb_callPreset8, &QPushButton::clicked, this, &MainWindow::callPreset8Clicked);
    connect(ui->pb_callPreset9, &QPushButton::clicked, this, &MainWindow::callPreset9Clicked);
    connect(ui->pb_callPreset10, &QPushButton::clicked, this, &MainWindow::callPreset10Clicked);
    connect(ui->pb_storePreset1, &QPushButton::clicked, this, &MainWindow::storePreset1Clicked);
    connect(ui->pb_storePreset2, &QPushButton::clicked, this, &MainWindow::storePreset2Clicked);
    connect(ui->pb_storePreset3, &QPushButton::clicked, this, &MainWindow::storePreset3Clicked);
    connect(ui->pb_storePreset4, &QPushButton::clicked, this, &MainWindow::storePreset4Clicked);
    connect(ui->pb_storePreset5, &QPushButton::clicked, this, &MainWindow::storePreset5Clicked);
    connect(ui->pb_storePreset6, &QPushButton::clicked, this, &MainWindow::storePreset6Clicked);
    connect(ui->pb_storePreset7, &QPushButton::clicked, this, &MainWindow::storePreset7Clicked);
    connect(ui->pb_storePreset8, &QPushButton::clicked, this, &MainWindow::storePreset8Clicked);
    connect(ui->pb_storePreset9, &QPushButton::clicked, this, &MainWindow::storePreset9Clicked);
    connect(ui->pb_storePreset10, &QPushButton::clicked, this, &MainWindow::storePreset10Clicked);
    connect(ui->action_traffic, &QAction::triggered, this, [this] {
        if (!m_traffic)
            m_traffic = new TrafficWindow(this);
        m_traffic->open();
    });

    m_settingsState = true;

    // Once more, now that the lens list drives the speed combos: they follow the
    // restored lens.
    initSettings();
}

MainWindow::~MainWindow()
{
    // A window destroyed while still shown closes itself only in the QWidget
    // destructor; the line edit that then loses the keyboard focus reports
    // finished editing to slots whose driver and form are already gone.
    const QList<QObject *> children = findChildren<QObject *>();
    for (QObject *child : children)
        child->disconnect(this);
}

void MainWindow::setControllerFactory(ControllerFactory factory)
{
    m_controllerFactory = std::move(factory);
}

std::unique_ptr<Controller> MainWindow::createController(ControllerType type, const QString &portName) const
{
    if (m_controllerFactory)
        return m_controllerFactory(type, portName);
    switch (type) {
    case TAVRO_CONTROLLER:
        return std::make_unique<ControllerTavro>(portName);
    case USM_CONTROLLER:
        return std::make_unique<ControllerUSM>(portName);
    case NO_CONTROLLER_SELECTED:
        break;
    }
    return nullptr;
}

void MainWindow::replaceDriver()
{
    // The board is spoken to by one driver at a time; the new one starts
    // with the motors standing.
    m_comm.reset();
    m_comm = createController(m_controllerType, m_selectedSerialPort);
    m_actions->forgetRuns();
}

std::unique_ptr<Controller> MainWindow::probeBoard()
{
    const QString portName = findSerialPort(ui->cb_serialPortSelect->currentText());
    if (portName.isEmpty()) {
        report(ui->pb_settingsCancel, kNoPortReport);
        return nullptr;
    }
    // Only a board type shown in the panel is probed or saved: "Please select
    // controller" keeps the previous board's lens list on display, and without a
    // board type there is no driver to ask, nor one to drive the controls later.
    const int shownType = ui->cb_controller->currentIndex();
    if (shownType != TAVRO_CONTROLLER && shownType != USM_CONTROLLER) {
        report(ui->pb_settingsCancel, kNoBoardReport);
        return nullptr;
    }
    std::unique_ptr<Controller> probe = createController(m_controllerType, portName);
    if (!probe) {
        report(ui->pb_settingsCancel, kNoBoardReport);
        return nullptr;
    }
    m_lensType = probe->getLensType();
    if (m_lensType == -1) {
        // One driver on the port at a time.
        probe.reset();
        report(ui->pb_settingsCancel, kNoBoardReport, otherBoardHint(portName));
        return nullptr;
    }
    return probe;
}

QString MainWindow::otherBoardHint(const QString &portName) const
{
    const bool tavro = m_controllerType != TAVRO_CONTROLLER;
    const ControllerType other = tavro ? TAVRO_CONTROLLER : USM_CONTROLLER;
    const std::unique_ptr<Controller> probe = createController(other, portName);
    if (!probe || probe->getLensType() == -1)
        return QString();
    const QString hint = tr("A %1 board answered on this port: choose the controller type '%2'")
                             .arg(tavro ? QStringLiteral("Tavro") : QStringLiteral("Pellan"), ui->cb_controller->itemText(other));
    qInfo() << hint;
    return hint;
}

void MainWindow::setSerialPort(const QString &portName, int lensType)
{
    const Operation operation(*m_operations, tr("Configuring the board…"));
    if (!operation)
        return;
    if (portName.isEmpty()) {
        qCritical() << "Error, no serial port selected!";
        return;
    }
    m_selectedSerialPort = portName;
    replaceDriver();
    if (m_comm) {
        m_comm->setLensType(lensType);
        m_comm->initMotor();
        ui->groupBox_lensControl->setEnabled(true);
        ui->groupBox_presets->setEnabled(true);
    }
}

void MainWindow::lensSelectionChanged(int index)
{
    switch (m_controllerType) {
    case TAVRO_CONTROLLER:
        if (index == 0) {
            ui->cb_zoomSpeed->setEnabled(false);
            ui->cb_focusSpeed->setEnabled(false);
        } else if (index == 1 || index == 2) {
            ui->cb_zoomSpeed->setEnabled(true);
            ui->cb_focusSpeed->setEnabled(true);
        }
        break;
    case USM_CONTROLLER:
        ui->cb_zoomSpeed->setEnabled(false);
        ui->cb_focusSpeed->setEnabled(true);
        break;
    case NO_CONTROLLER_SELECTED:
        break;
    }
}

void MainWindow::settingsMultiClicked()
{
    Operation operation(*m_operations, tr("Checking the board…"));
    if (!operation)
        return;
    if (!m_settingsState) {
        toggleSettings();
        return;
    }

    // The port commissioned is the one the board just answered on; a second
    // look-up could find another one by then.
    QString answeredPort;
    {
        const std::unique_ptr<Controller> probe = probeBoard();
        if (!probe)
            return;
        answeredPort = probe->portName();
    }

    operation.setStep(tr("Configuring the board…"));
    qDebug() << "port name: " << ui->cb_serialPortSelect->currentText();
    qDebug() << "Port number: ";
    qDebug() << ui->cb_serialPortSelect->currentIndex();
    m_selectedSerialPort = answeredPort;

    if (m_controllerType == USM_CONTROLLER) {
        m_lensType = 0;
    } else {
        m_lensType = ui->cb_lensSelect->currentIndex();
        // The prompt, or no entry at all when the board reported a lens the
        // list does not have.
        if (m_lensType <= 0) {
            report(ui->pb_settingsCancel, kNoLensReport);
            return;
        }
    }

    m_settings->setValue(QStringLiteral("controller/lastSelected"), static_cast<int>(m_controllerType));
    m_settings->setValue(QStringLiteral("motor/lastSelected"), m_lensType);

    qDebug() << "************************* DEBUG MESSAGE ***********************";
    m_settings->setValue(QStringLiteral("serialPort/lastSelected"), m_selectedSerialPort);

    if (m_controllerType == TAVRO_CONTROLLER)
        qDebug() << "Tavro Lens on port: " << m_selectedSerialPort;
    else
        qDebug() << "USM Lens on port: " << m_selectedSerialPort;
    replaceDriver();

    const int zoomSpeed = speedLevel(ui->cb_zoomSpeed);
    const int focusSpeed = speedLevel(ui->cb_focusSpeed);
    m_settings->setValue(QStringLiteral("motor/zoomSpeed"), zoomSpeed);
    m_settings->setValue(QStringLiteral("motor/focusSpeed"), focusSpeed);
    // The operator's choices must survive a crash or a power cut.
    SettingsFile::writeBack(*m_settings);

    if (m_comm) {
        m_comm->setLensType(m_lensType);
        if (!m_settings->value(QStringLiteral("misc/stallDetection"), true).toBool()) {
            qDebug() << "Stalldetection is off!";
            m_comm->disableStallDetection(true);
        } else {
            m_comm->disableStallDetection(false);
        }
        m_comm->setSensitivityMode(ui->cb_longCable->isChecked() ? 1 : 0);
        qDebug() << "********* debug mode read: " << m_comm->getSensitivityMode();
        operation.setStep(tr("Calibrating…"));
        m_actions->calibrate(m_controllerType == TAVRO_CONTROLLER ? ControllerTavro::calibrationMs : 0);
        operation.setStep(tr("Configuring the board…"));
        m_comm->setZoomSpeed(static_cast<char>(zoomSpeed));
        m_comm->setFocusSpeed(static_cast<char>(focusSpeed));
        m_actions->setPanelSpeeds(zoomSpeed, focusSpeed);
        operation.setStep(tr("Reading the positions…"));
        InitUIForController();
    }

    toggleSettings();
}

void MainWindow::cancelSettingsClicked()
{
    if (!m_comm) {
        report(ui->pb_settingsCancel, kNoPortReport);
        return;
    }
    if (m_controllerType == USM_CONTROLLER || m_lensType != 0)
        toggleSettings();
    else
        report(ui->pb_settingsCancel, kNoLensReport);
}

bool MainWindow::checkController()
{
    const Operation operation(*m_operations, tr("Checking the board…"));
    return operation && probeBoard() != nullptr;
}

bool MainWindow::testSerialClicked()
{
    const Operation operation(*m_operations, tr("Checking the board…"));
    if (!operation)
        return false;
    const std::unique_ptr<Controller> probe = probeBoard();
    if (!probe)
        return false;
    report(ui->pb_settingsCancel, kBoardFoundReport);
    ui->cb_lensSelect->setCurrentIndex(m_lensType);
    ui->cb_longCable->setChecked(probe->getSensitivityMode() == 1);
    return true;
}

void MainWindow::websiteClicked(const QString &)
{
    QDesktopServices::openUrl(QUrl(kMakerWebAddress, QUrl::TolerantMode));
}

void MainWindow::initSettings()
{
    qDebug() << "initSettings";
    switch (ui->cb_controller->currentIndex()) {
    case NO_CONTROLLER_SELECTED:
        qDebug() << "No lens selected";
        break;
    case TAVRO_CONTROLLER:
        initTavroController();
        break;
    case USM_CONTROLLER:
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
    m_controllerType = TAVRO_CONTROLLER;

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
    m_controllerType = USM_CONTROLLER;

    ui->cb_lensSelect->clear();
    ui->cb_lensSelect->addItem(tr("Focus Lens"));
    ui->cb_lensSelect->setCurrentIndex(0);

    ui->cb_lensSelect->setEnabled(false);
    ui->cb_longCable->setEnabled(false);
    ui->cb_lensSelect->setVisible(false);
    ui->cb_zoomSpeed->setVisible(false);
    ui->lbl_zoomSpeed->setVisible(false);
}

void MainWindow::InitUIForController()
{
    if (m_controllerType == TAVRO_CONTROLLER) {
        m_actions->readPositionsAndRanges();

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
    } else if (m_controllerType == USM_CONTROLLER) {
        const int focusPosition = m_comm->getFocusPosition();
        const int maxFocus = m_comm->getMaxFocusPosition();
        if (maxFocus >= 0) {
            ui->hs_motor2->setMaximum(maxFocus);
            m_actions->showPosition(LensActions::Motor::Focus, focusPosition);
        }

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
