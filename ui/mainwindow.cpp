#include "mainwindow.h"

#include "boardtask.h"
#include "controller.h"
#include "focustracking.h"
#include "helpmenu.h"
#include "languagemenu.h"
#include "lensactions.h"
#include "lensprofileinuse.h"
#include "livepositions.h"
#include "messageboxreport.h"
#include "operationmonitor.h"
#include "operationprogressdialog.h"
#include "operatorreport.h"
#include "padlayoutmenu.h"
#include "portreport.h"
#include "presetspeedmenu.h"
#include "serialportlist.h"
#include "settingsfile.h"
#include "slideraccessible.h"
#include "speedmeasurementtask.h"
#include "trafficwindow.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QBitmap>
#include <QDebug>
#include <QDesktopServices>
#include <QImage>
#include <QPixmap>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <future>

namespace {

const QString kMakerDomain = QStringLiteral("corvane.example");
const QString kMakerWebAddress = QStringLiteral("https://www.corvane.example");
const QString kMakerWebTitle = QStringLiteral("www.corvane.example");

const int kLogoWidth = 241;

// The reports of the settings panel: each is logged at critical level and then
// shown to the operator.
struct Report
{
    OperatorReport::Severity severity;
    const char *logLine;
    const char *text;
};

const Report kNoPortReport{OperatorReport::Severity::Critical, "Error, no serial port selected!",
                           QT_TRANSLATE_NOOP("MainWindow", "Please select a valid serial port!")};
const Report kNoBoardReport{OperatorReport::Severity::Critical, "No lens controller board detected!",
                            QT_TRANSLATE_NOOP("MainWindow", "No lens controller board detected on this serial port!")};
const Report kBoardFoundReport{OperatorReport::Severity::Information, "Lens controller board detected!",
                               QT_TRANSLATE_NOOP("MainWindow", "Success: Lens controller board detected on this serial port!")};
const Report kNoLensReport{OperatorReport::Severity::Critical, "Please select lens!", QT_TRANSLATE_NOOP("MainWindow", "Please select lens!")};

// The port chosen in the selector, or an empty name for the selector's prompt
// and for a port that is not there now.
QString findSerialPort(const QString &selectedPort)
{
    return isSerialPortAvailable(selectedPort) ? selectedPort : QString();
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
    OperatorReport::show(what.severity, QCoreApplication::translate("MainWindow", what.text), detail);
}

} // namespace

MainWindow::MainWindow(const ControlHelp &help, QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , m_commissioning([this](BoardType type) { return ui->cb_controller->itemText(int(type)); })
    , m_operations(std::make_unique<OperationMonitor>(
          this, [](QWidget *window) { return new OperationProgressDialog(window); }))
{
    MessageBoxReport::install();
    // Before the form: a slider answers through the interface it had first.
    SliderAccessible::install();
    qDebug() << "Path: " << QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);

    m_settings = std::make_unique<QSettings>(QStringLiteral("config.ini"), QSettings::IniFormat);

    const QString logoName =
        m_settings->value(QStringLiteral("logo/file"), QStringLiteral(":/images/logo241_101.png")).toString();
    qDebug() << "logo name: " << logoName;
    // Read while the form is built: the first picture the program loads
    // looks through every image plug-in first. A picture that cannot be
    // loaded leaves the label empty, without a word.
    std::future<QImage> logoImage = std::async(std::launch::async, [logoName] {
        const QImage image(logoName);
        return image.isNull() ? image : image.scaledToWidth(kLogoWidth, Qt::FastTransformation);
    });

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

    // What the lens controls do; the input sources that ask for it too are
    // made with the program.
    const LensPanel panel{{{{ui->hs_motor1, ui->le_motor1, {ui->pb_zoomWide, ui->pb_zoomTele}, {ui->pb_zoomMinus, ui->pb_zoomPlus}},
                            {ui->hs_motor2, ui->le_motor2, {ui->pb_focusNear, ui->pb_focusFar}, {ui->pb_focusMinus, ui->pb_focusPlus}},
                            {ui->hs_motor3, ui->le_motor3, {ui->pb_irisClose, ui->pb_irisOpen}, {ui->pb_irisMinus, ui->pb_irisPlus}}}},
                          ui->pb_refresh};
    m_actions = std::make_unique<LensActions>(this, panel, *m_operations);
    m_boardLook = std::make_unique<BoardTask>(m_threading);
    m_presetSpeeds = std::make_unique<PresetSpeedMenu>(this, *m_actions, *m_settings);
    m_livePositions = std::make_unique<LivePositions>(*m_actions, ui->action_livePositions, *m_settings);
    m_help = std::make_unique<HelpMenu>(this, ui->action_keyboardControls, ui->action_about, help);
    m_padLayout = new PadLayoutMenu(this, ui->action_gamepad, *m_settings, *m_help);
    new LanguageMenu(ui->menuView, *m_settings);

    setWindowTitle(appName + QStringLiteral(" - ") + company);

    const QPixmap logo = QPixmap::fromImage(logoImage.get());
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
    // Reached with Tab like every other action of the window, between Save and
    // Store in device, as it stands; a click on the link does not take the
    // focus. The form's tab order passed it by while it took none.
    ui->lbl_corvaneLink->setFocusPolicy(Qt::TabFocus);
    setTabOrder(ui->pb_settingsMultiButton, ui->lbl_corvaneLink);

    const QStringList speeds{tr("Low"), tr("Medium"), tr("High")};
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
    ui->cb_controller->addItem(tr("Please select controller"));
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
    connectPresetButtons();
    connect(ui->action_traffic, &QAction::triggered, this, [this] {
        if (!m_traffic)
            m_traffic = new TrafficWindow(this);
        m_traffic->open();
    });

    m_settingsState = true;

    // Once more, now that the lens list drives the speed combos: they follow the
    // restored lens.
    initSettings();
    setUpLensUnits();
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

void MainWindow::setControllerFactory(ControllerFactory factory, LensSession::Threading threading)
{
    m_commissioning.setControllerFactory(std::move(factory));
    m_threading = threading;
    m_boardLook = std::make_unique<BoardTask>(m_threading);
}

bool MainWindow::isIdle() const
{
    return m_actions->isIdle() && !m_boardLook->isRunning();
}

void MainWindow::replaceSession(const std::function<void()> &ready)
{
    // The board is spoken to by one session at a time, and none goes while
    // one of its motors runs; the new one starts with the motors standing.
    m_actions->replaceSession([this, type = m_controllerType, port = m_selectedSerialPort] {
        return type == BoardType::None
            ? nullptr
            : std::make_unique<LensSession>(type, port, m_threading, m_commissioning.factory());
    }, ready);
}

void MainWindow::probeBoard(bool readSensitivity, const std::function<void(const QString &port, int sensitivity)> &then)
{
    const QString portName = findSerialPort(ui->cb_serialPortSelect->currentPort());
    if (portName.isEmpty()) {
        report(ui->pb_settingsCancel, kNoPortReport);
        m_operations->end();
        return;
    }
    // Only a board type shown in the panel is probed or saved: "Please select
    // controller" keeps the previous board's lens list on display, and without a
    // board type there is no driver to ask, nor one to drive the controls later.
    const BoardType shownType = BoardType(ui->cb_controller->currentIndex());
    if (shownType != BoardType::Tavro && shownType != BoardType::Pellan) {
        report(ui->pb_settingsCancel, kNoBoardReport);
        m_operations->end();
        return;
    }
    // What the probe found, its driver gone with the look's thread once the
    // port it answered on (and the sensitivity, when asked) has been read.
    struct Found
    {
        BoardCommissioning::Probe probe;
        QString port;
        int sensitivity = -1;
    };
    auto found = std::make_shared<Found>();
    // With the names the hint needs taken from the panel here, and the
    // drivers made, used and gone on the look's thread.
    QStringList names;
    for (int i = 0; i < ui->cb_controller->count(); ++i)
        names << ui->cb_controller->itemText(i);
    BoardCommissioning look([names](BoardType type) { return names.value(int(type)); });
    look.setControllerFactory(m_commissioning.factory());
    m_boardLook->start([look, found, type = m_controllerType, portName, readSensitivity] {
        found->probe = look.probe(type, portName);
        if (const std::unique_ptr<Controller> driver = std::move(found->probe.driver)) {
            found->port = driver->portName();
            if (readSensitivity)
                found->sensitivity = driver->getSensitivityMode();
        }
    }, [this, found, then, portName] {
        const BoardCommissioning::Probe &probe = found->probe;
        if (probe.portFailure) {
            if (const auto box = PortReport::of(*probe.portFailure, portName, true))
                OperatorReport::show(box->severity, box->text, box->detail);
        }
        m_lensType = probe.lensType;
        if (found->port.isEmpty()) {
            report(ui->pb_settingsCancel, kNoBoardReport, probe.hint);
            m_operations->end();
            return;
        }
        then(found->port, found->sensitivity);
    });
}

void MainWindow::setSerialPort(const QString &portName, int lensType)
{
    if (!m_operations->begin(tr("Configuring the board…")))
        return;
    if (portName.isEmpty()) {
        qCritical() << "Error, no serial port selected!";
        m_operations->end();
        return;
    }
    m_selectedSerialPort = portName;
    replaceSession([this, lensType] {
        LensSession *session = m_actions->session();
        if (!session) {
            m_operations->end();
            return;
        }
        session->submitWork([lensType](Controller &driver, SessionDriver::Done &done) {
            driver.setLensType(lensType);
            driver.initMotor();
            if (const Outcome outcome = driver.takeOutcome(); !outcome.ok())
                done.result = SessionResult::failure(outcome, false);
        }, [this](const SessionResult &) {
            ui->groupBox_lensControl->setEnabled(true);
            ui->groupBox_presets->setEnabled(true);
            m_operations->end();
        });
    });
}

void MainWindow::settingsMultiClicked()
{
    if (m_operations->isRunning())
        return;
    if (!m_settingsState) {
        // Editing the settings takes the lens controls away, STOP among them:
        // no motor runs on out of the operator's reach.
        m_actions->stopAll();
        toggleSettings();
        return;
    }
    if (!m_operations->begin(tr("Checking the board…")))
        return;
    // The port commissioned is the one the board just answered on; a second
    // look-up could find another one by then.
    probeBoard(false, [this](const QString &port, int) { saveProbed(port); });
}

void MainWindow::saveProbed(const QString &answeredPort)
{
    m_operations->setStep(tr("Configuring the board…"));
    qDebug() << "port name: " << ui->cb_serialPortSelect->currentText();
    qDebug() << "Port number: ";
    qDebug() << ui->cb_serialPortSelect->currentIndex();
    m_selectedSerialPort = answeredPort;

    if (m_controllerType == BoardType::Pellan) {
        m_lensType = 0;
    } else {
        m_lensType = ui->cb_lensSelect->currentIndex();
        // The prompt, or no entry at all when the board reported a lens the
        // list does not have.
        if (m_lensType <= 0) {
            report(ui->pb_settingsCancel, kNoLensReport);
            m_operations->end();
            return;
        }
    }

    m_settings->setValue(QStringLiteral("controller/lastSelected"), static_cast<int>(m_controllerType));
    m_settings->setValue(QStringLiteral("motor/lastSelected"), m_lensType);

    qDebug() << "************************* DEBUG MESSAGE ***********************";
    m_settings->setValue(QStringLiteral("serialPort/lastSelected"), m_selectedSerialPort);

    if (m_controllerType == BoardType::Tavro)
        qDebug() << "Tavro Lens on port: " << m_selectedSerialPort;
    else
        qDebug() << "USM Lens on port: " << m_selectedSerialPort;

    const int zoomSpeed = speedLevel(ui->cb_zoomSpeed);
    const int focusSpeed = speedLevel(ui->cb_focusSpeed);
    m_settings->setValue(QStringLiteral("motor/zoomSpeed"), zoomSpeed);
    m_settings->setValue(QStringLiteral("motor/focusSpeed"), focusSpeed);
    // The operator's choices must survive a crash or a power cut.
    SettingsFile::writeBack(*m_settings);

    const BoardCommissioning::Choices choices{
        m_controllerType, m_lensType, m_settings->value(QStringLiteral("misc/stallDetection"), true).toBool(),
        ui->cb_longCable->isChecked(), zoomSpeed, focusSpeed};
    replaceSession([this, choices] {
        LensSession *session = m_actions->session();
        if (!session) {
            toggleSettings();
            m_operations->end();
            return;
        }
        OperationMonitor *monitor = m_operations.get();
        const auto step = [monitor](const QString &what) { monitor->setStepFromAnyThread(what); };
        session->submitWork([choices, step](Controller &driver, SessionDriver::Done &done) {
            BoardCommissioning::configure(driver, choices, step);
            if (const Outcome outcome = driver.takeOutcome(); !outcome.ok())
                done.result = SessionResult::failure(outcome, false);
        }, [this, choices](const SessionResult &) {
            m_actions->setPanelSpeeds(choices.zoomSpeed, choices.focusSpeed);
            m_operations->setStep(tr("Reading the positions…"));
            InitUIForController([this] {
                m_profileInUse->load(m_controllerType);
                toggleSettings();
                m_operations->end();
            });
        });
    });
}

void MainWindow::cancelSettingsClicked()
{
    if (!m_actions->session()) {
        report(ui->pb_settingsCancel, kNoPortReport);
        return;
    }
    if (m_controllerType == BoardType::Pellan || m_lensType != 0)
        toggleSettings();
    else
        report(ui->pb_settingsCancel, kNoLensReport);
}

void MainWindow::testSerialClicked()
{
    if (!m_operations->begin(tr("Checking the board…")))
        return;
    probeBoard(true, [this](const QString &, int sensitivity) {
        report(ui->pb_settingsCancel, kBoardFoundReport);
        ui->cb_lensSelect->setCurrentIndex(m_lensType);
        ui->cb_longCable->setChecked(sensitivity == 1);
        m_operations->end();
    });
}

void MainWindow::websiteClicked(const QString &)
{
    QDesktopServices::openUrl(QUrl(kMakerWebAddress, QUrl::TolerantMode));
}

void MainWindow::setPad(PadCapture *pad)
{
    m_padLayout->setPad(pad);
}
