#include "fakecontroller.h"
#include "mainwindow.h"
#include "operatorreport.h"
#include "pause.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

using Reports = QList<QPair<QMessageBox::Icon, QString>>;
Q_DECLARE_METATYPE(Reports)

namespace {

const QString kNoPortText = QStringLiteral("Please select a valid serial port!");
const QString kNoBoardText = QStringLiteral("No lens controller board detected on this serial port!");
const QString kBoardFoundText = QStringLiteral("Success: Lens controller board detected on this serial port!");
const QString kNoLensText = QStringLiteral("Please select lens!");

const QByteArray kLinkKeys = "[info]\nweblink=https://www.corvane.example\nweblinktitle=www.corvane.example\n";
// A Tavro board on the fake port, with the first lens chosen last time.
const QByteArray kTavroConfig = kLinkKeys
    + "\n[controller]\nlastSelected=1\n\n[motor]\nlastSelected=1\n\n[serialPort]\nlastSelected=FAKE1\n";
const QByteArray kPellanConfig = kLinkKeys + "\n[controller]\nlastSelected=2\n\n[serialPort]\nlastSelected=FAKE1\n";

// Stands in for the desktop's browser.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QUrl openedUrl;

    Q_INVOKABLE void openUrl(const QUrl &url) { openedUrl = url; }
};

} // namespace

class TestMainWindowSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartWithoutConfig();
    void customisedStartUp_data();
    void customisedStartUp();
    void restoresBoardAndLens_data();
    void restoresBoardAndLens();
    void boardTypeSwitchReshapesPanel();

    void saveCommissionsBoard_data();
    void saveCommissionsBoard();
    void saveTreatsMissingSpeedAsLow();
    void saveFailuresWriteNothing_data();
    void saveFailuresWriteNothing();
    void failedSaveInEditingKeepsDriver();

    void testProbesWithoutTouchingService_data();
    void testProbesWithoutTouchingService();
    void testFailures_data();
    void testFailures();

    void editSettingsAndCancel_data();
    void editSettingsAndCancel();
    void cancelRefusals();

    void setSerialPortConnects();
    void unwritableSettingsFileIsLogged_data();
    void unwritableSettingsFileIsLogged();
    void websiteOpensMakersSite();

private:
    void writeConfig(const QByteArray &text) const;
    QByteArray configText() const;
    std::unique_ptr<MainWindow> makeWindow();
    // Saves the panel as it stands and forgets the calls this made.
    void saveSuccessfully(MainWindow &window);

    template<typename T>
    T *widget(MainWindow &window, const char *name)
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    void click(MainWindow &window, const char *button)
    {
        QTest::mouseClick(widget<QPushButton>(window, button), Qt::LeftButton);
    }
    static QStringList items(const QComboBox *combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    void verifyEditingMode(MainWindow &window, bool editing);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::shared_ptr<FakeBoard> m_board;
    Reports m_reports;
    OperatorReport::Reporter m_previousReporter;
    Pause::Function m_previousPause;
};

void TestMainWindowSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    qputenv("TAVRO_EXTRA_PORTS", "FAKE1");

    m_board = std::make_shared<FakeBoard>();
    m_reports.clear();
    m_previousReporter = OperatorReport::setReporter(
        [this](QMessageBox::Icon icon, const QString &text) { m_reports.append({icon, text}); });
    std::shared_ptr<FakeBoard> board = m_board;
    m_previousPause = Pause::setFunction([board](unsigned long ms) {
        board->calls << QStringLiteral("pause(%1)").arg(ms);
    });
}

void TestMainWindowSettings::cleanup()
{
    OperatorReport::setReporter(m_previousReporter);
    Pause::setFunction(m_previousPause);
    QDir::setCurrent(m_previousDir);
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_dir.reset();
    qunsetenv("TAVRO_EXTRA_PORTS");
}

void TestMainWindowSettings::writeConfig(const QByteArray &text) const
{
    QFile file(m_dir->filePath(QStringLiteral("config.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray TestMainWindowSettings::configText() const
{
    QFile file(m_dir->filePath(QStringLiteral("config.ini")));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<no file>");
    return file.readAll();
}

std::unique_ptr<MainWindow> TestMainWindowSettings::makeWindow()
{
    auto window = std::make_unique<MainWindow>();
    std::shared_ptr<FakeBoard> board = m_board;
    window->setControllerFactory([board](MainWindow::ControllerType type, const QString &port)
                                     -> std::unique_ptr<Controller> {
        const QString name = QStringLiteral("(%1,%2)").arg(type).arg(port);
        board->calls << QStringLiteral("create") + name;
        if (type == MainWindow::NO_CONTROLLER_SELECTED)
            return nullptr;
        auto driver = std::make_unique<FakeController>(port, board);
        QObject::connect(driver.get(), &QObject::destroyed,
                         [board, name] { board->calls << QStringLiteral("destroy") + name; });
        return driver;
    });
    return window;
}

void TestMainWindowSettings::saveSuccessfully(MainWindow &window)
{
    click(window, "pb_settingsMultiButton");
    QCOMPARE(widget<QPushButton>(window, "pb_settingsMultiButton")->text(), QStringLiteral("Edit Settings"));
    QCOMPARE(m_reports, Reports());
    m_board->calls.clear();
}

void TestMainWindowSettings::verifyEditingMode(MainWindow &window, bool editing)
{
    QCOMPARE(widget<QPushButton>(window, "pb_settingsMultiButton")->text(),
             editing ? QStringLiteral("Save") : QStringLiteral("Edit Settings"));
    QCOMPARE(widget<QGroupBox>(window, "groupBox_lensControl")->isEnabled(), !editing);
    QCOMPARE(widget<QGroupBox>(window, "groupBox_presets")->isEnabled(), !editing);
    QCOMPARE(widget<QPushButton>(window, "pb_storeInDevice")->isEnabled(), !editing);
    QCOMPARE(widget<QComboBox>(window, "cb_controller")->isEnabled(), editing);
    QCOMPARE(widget<QGroupBox>(window, "gb_lens")->isEnabled(), editing);
    QCOMPARE(widget<QGroupBox>(window, "gb_serialPort")->isEnabled(), editing);
}

void TestMainWindowSettings::firstStartWithoutConfig()
{
    auto window = makeWindow();

    QCOMPARE(window->windowTitle(), QStringLiteral("Tavro Lens Controller - Qelvar"));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Qelvar"));
    QCOMPARE(QCoreApplication::organizationDomain(), QStringLiteral("corvane.example"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tavro Lens Controller"));

    auto *controller = widget<QComboBox>(*window, "cb_controller");
    QCOMPARE(items(controller), QStringList({"Please select controller", "Tavro Controller", "Pellan Focus Controller"}));
    QCOMPARE(controller->currentIndex(), 0);
    for (const char *name : {"cb_zoomSpeed", "cb_focusSpeed"}) {
        auto *speed = widget<QComboBox>(*window, name);
        QCOMPARE(items(speed), QStringList({"Low", "Medium", "High"}));
        QCOMPARE(speed->currentIndex(), 0);
        QVERIFY(!speed->isEnabled());
    }
    QVERIFY(!widget<QPushButton>(*window, "pb_settingsCancel")->isEnabled());
    verifyEditingMode(*window, true);

    auto *link = widget<QLabel>(*window, "lbl_corvaneLink");
    QCOMPARE(link->text(), QStringLiteral("<a href=\"https://www.corvane.example\">www.corvane.example</a>"));
    QCOMPARE(link->textFormat(), Qt::RichText);
    QCOMPARE(int(link->textInteractionFlags()), 13);
    QVERIFY(link->openExternalLinks());
    QCOMPARE(link->focusPolicy(), Qt::NoFocus);

    // The file is on disk before the event loop has run, holding only the link.
    QCOMPARE(configText(), kLinkKeys);
    QCOMPARE(m_board->calls, QStringList());
}

void TestMainWindowSettings::customisedStartUp_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("controllers");
    QTest::addColumn<QSize>("logoSize");

    QTest::newRow("names and wide logo")
        << QByteArray("[info]\ncompany=Acme\nappname=Lens Desk\nweblink=http://x.example\nweblinktitle=X\n"
                      "[controller]\ntavroName=Big\nfocusName=Small\n[logo]\nfile=:/images/logo.png\n")
        << "Lens Desk - Acme" << QStringList({"Please select controller", "Big", "Small"}) << QSize(241, 26);
    QTest::newRow("default logo") << QByteArray() << "Tavro Lens Controller - Qelvar"
                                  << QStringList({"Please select controller", "Tavro Controller",
                                                  "Pellan Focus Controller"})
                                  << QSize(241, 101);
    QTest::newRow("missing logo") << QByteArray("[logo]\nfile=/nowhere/logo.png\n")
                                  << "Tavro Lens Controller - Qelvar"
                                  << QStringList({"Please select controller", "Tavro Controller",
                                                  "Pellan Focus Controller"})
                                  << QSize();
}

void TestMainWindowSettings::customisedStartUp()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, title);
    QFETCH(QStringList, controllers);
    QFETCH(QSize, logoSize);
    if (!config.isEmpty())
        writeConfig(config);

    auto window = makeWindow();

    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(items(widget<QComboBox>(*window, "cb_controller")), controllers);
    const QPixmap logo = widget<QLabel>(*window, "lbl_pixmap")->pixmap();
    QCOMPARE(logo.isNull() ? QSize() : logo.size(), logoSize);
    // Customisation keys are only read; the stored board type stays an index.
    const QSettings settings(QStringLiteral("config.ini"), QSettings::IniFormat);
    QVERIFY(!settings.contains(QStringLiteral("controller/lastSelected")));
}

void TestMainWindowSettings::restoresBoardAndLens_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<int>("controllerIndex");
    QTest::addColumn<QStringList>("lenses");
    QTest::addColumn<int>("lensIndex");
    QTest::addColumn<bool>("lensShown");
    QTest::addColumn<bool>("zoomSpeedEnabled");
    QTest::addColumn<bool>("focusSpeedEnabled");
    QTest::addColumn<int>("zoomSpeed");
    QTest::addColumn<int>("focusSpeed");

    const QStringList tavroLenses{"Please select lens", "Default Tavro Lens", "Default"};
    QTest::newRow("tavro, second lens, speeds")
        << QByteArray("[controller]\nlastSelected=1\n[motor]\nlastSelected=2\nzoomSpeed=2\nfocusSpeed=1\n") << 1
        << tavroLenses << 2 << true << true << true << 2 << 1;
    QTest::newRow("tavro, named lenses")
        << QByteArray("[controller]\nlastSelected=1\n[motor]\nlastSelected=1\n[motor1]\nname=Wide\n"
                      "[motor2]\nname=Tele\n")
        << 1 << QStringList({"Please select lens", "Wide", "Tele"}) << 1 << true << true << true << 0 << 0;
    QTest::newRow("tavro, lens 3 is the prompt")
        << QByteArray("[controller]\nlastSelected=1\n[motor]\nlastSelected=3\n") << 1 << tavroLenses << 0 << true
        << false << false << 0 << 0;
    QTest::newRow("tavro, lens -1 is the prompt")
        << QByteArray("[controller]\nlastSelected=1\n[motor]\nlastSelected=-1\n") << 1 << tavroLenses << 0 << true
        << false << false << 0 << 0;
    QTest::newRow("tavro, speed 7 has no entry")
        << QByteArray("[controller]\nlastSelected=1\n[motor]\nlastSelected=1\nzoomSpeed=7\nfocusSpeed=abc\n") << 1
        << tavroLenses << 1 << true << true << true << -1 << 0;
    QTest::newRow("pellan") << QByteArray("[controller]\nlastSelected=2\n[motor]\nlastSelected=2\nfocusSpeed=2\n")
                            << 2 << QStringList({"Focus Lens"}) << 0 << false << false << true << 0 << 2;
    QTest::newRow("board type 5 has no entry")
        << QByteArray("[controller]\nlastSelected=5\n") << -1 << QStringList() << -1 << true << false << false << 0
        << 0;
}

void TestMainWindowSettings::restoresBoardAndLens()
{
    QFETCH(QByteArray, config);
    QFETCH(int, controllerIndex);
    QFETCH(QStringList, lenses);
    QFETCH(int, lensIndex);
    QFETCH(bool, lensShown);
    QFETCH(bool, zoomSpeedEnabled);
    QFETCH(bool, focusSpeedEnabled);
    QFETCH(int, zoomSpeed);
    QFETCH(int, focusSpeed);
    writeConfig(config);

    auto window = makeWindow();

    QCOMPARE(widget<QComboBox>(*window, "cb_controller")->currentIndex(), controllerIndex);
    auto *lens = widget<QComboBox>(*window, "cb_lensSelect");
    QCOMPARE(items(lens), lenses);
    QCOMPARE(lens->currentIndex(), lensIndex);
    QCOMPARE(lens->isVisibleTo(window.get()), lensShown);
    QCOMPARE(lens->isEnabled(), lensShown);
    QCOMPARE(widget<QCheckBox>(*window, "cb_longCable")->isEnabled(), lensShown);
    auto *zoom = widget<QComboBox>(*window, "cb_zoomSpeed");
    auto *focus = widget<QComboBox>(*window, "cb_focusSpeed");
    QCOMPARE(zoom->isVisibleTo(window.get()), lensShown);
    QCOMPARE(widget<QLabel>(*window, "lbl_zoomSpeed")->isVisibleTo(window.get()), lensShown);
    QVERIFY(focus->isVisibleTo(window.get()));
    QCOMPARE(zoom->isEnabled(), zoomSpeedEnabled);
    QCOMPARE(focus->isEnabled(), focusSpeedEnabled);
    QCOMPARE(zoom->currentIndex(), zoomSpeed);
    QCOMPARE(focus->currentIndex(), focusSpeed);
    verifyEditingMode(*window, true);
    QCOMPARE(m_board->calls, QStringList());
}

void TestMainWindowSettings::boardTypeSwitchReshapesPanel()
{
    writeConfig(kTavroConfig + "\n[motor1]\nname=Alpha\n\n[motor2]\nname=Beta\n");
    auto window = makeWindow();
    auto *controller = widget<QComboBox>(*window, "cb_controller");
    auto *lens = widget<QComboBox>(*window, "cb_lensSelect");
    auto *zoom = widget<QComboBox>(*window, "cb_zoomSpeed");
    auto *focus = widget<QComboBox>(*window, "cb_focusSpeed");
    auto *zoomLabel = widget<QLabel>(*window, "lbl_zoomSpeed");
    auto *longCable = widget<QCheckBox>(*window, "cb_longCable");

    controller->setCurrentIndex(2);
    QCOMPARE(items(lens), QStringList({"Focus Lens"}));
    QVERIFY(!lens->isVisibleTo(window.get()));
    QVERIFY(!lens->isEnabled());
    QVERIFY(!longCable->isEnabled());
    QVERIFY(!zoom->isVisibleTo(window.get()));
    QVERIFY(!zoomLabel->isVisibleTo(window.get()));
    QVERIFY(!zoom->isEnabled());
    QVERIFY(focus->isEnabled());

    // The lens names and the stored lens are read again on the way back.
    {
        QSettings settings(QStringLiteral("config.ini"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("motor1/name"), QStringLiteral("Gamma"));
        settings.setValue(QStringLiteral("motor/lastSelected"), 2);
    }
    controller->setCurrentIndex(1);
    QCOMPARE(items(lens), QStringList({"Please select lens", "Gamma", "Beta"}));
    QCOMPARE(lens->currentIndex(), 2);
    QVERIFY(lens->isVisibleTo(window.get()));
    QVERIFY(lens->isEnabled());
    QVERIFY(longCable->isEnabled());
    QVERIFY(zoom->isVisibleTo(window.get()));
    QVERIFY(zoomLabel->isVisibleTo(window.get()));
    QVERIFY(zoom->isEnabled());
    QVERIFY(focus->isEnabled());

    lens->setCurrentIndex(0);
    QVERIFY(!zoom->isEnabled());
    QVERIFY(!focus->isEnabled());

    // The prompt keeps the previous board's list on display.
    controller->setCurrentIndex(0);
    QCOMPARE(items(lens), QStringList({"Please select lens", "Gamma", "Beta"}));
    QCOMPARE(m_board->calls, QStringList());
}

void TestMainWindowSettings::saveCommissionsBoard_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<int>("lensIndex");
    QTest::addColumn<int>("zoomSpeed");
    QTest::addColumn<int>("focusSpeed");
    QTest::addColumn<bool>("longCable");
    QTest::addColumn<QByteArray>("savedConfig");
    QTest::addColumn<QStringList>("calls");

    const QStringList tavroReads{"getZoomPosition", "getFocusPosition", "getIrisPosition", "getMaxZoomPosition",
                                 "getMaxFocusPosition"};
    QTest::newRow("tavro, first lens, short cable")
        << kTavroConfig << 1 << 0 << 2 << false
        << QByteArray("[controller]\nlastSelected=1\n\n" + kLinkKeys
                      + "\n[motor]\nfocusSpeed=2\nlastSelected=1\nzoomSpeed=0\n\n[serialPort]\nlastSelected=FAKE1\n")
        << (QStringList{"create(1,FAKE1)", "getLensType", "destroy(1,FAKE1)", "create(1,FAKE1)", "setLensType(1)",
                        "disableStallDetection(0)", "setSensitivityMode(0)", "getSensitivityMode", "calibrateAll",
                        "pause(8000)", "setZoomSpeed(0)", "setFocusSpeed(2)"}
            + tavroReads);
    QTest::newRow("tavro, second lens, long cable, stall detection off")
        << QByteArray(kTavroConfig + "\n[misc]\nstallDetection=false\n") << 2 << 1 << 0 << true
        << QByteArray("[controller]\nlastSelected=1\n\n" + kLinkKeys
                      + "\n[misc]\nstallDetection=false\n\n[motor]\nfocusSpeed=0\nlastSelected=2\nzoomSpeed=1\n\n"
                        "[serialPort]\nlastSelected=FAKE1\n")
        << (QStringList{"create(1,FAKE1)", "getLensType", "destroy(1,FAKE1)", "create(1,FAKE1)", "setLensType(2)",
                        "disableStallDetection(1)", "setSensitivityMode(1)", "getSensitivityMode", "calibrateAll",
                        "pause(8000)", "setZoomSpeed(1)", "setFocusSpeed(0)"}
            + tavroReads);
    QTest::newRow("pellan, no pause, lens not checked")
        << kPellanConfig << 0 << 0 << 1 << false
        << QByteArray("[controller]\nlastSelected=2\n\n" + kLinkKeys
                      + "\n[motor]\nfocusSpeed=1\nlastSelected=0\nzoomSpeed=0\n\n[serialPort]\nlastSelected=FAKE1\n")
        << QStringList{"create(2,FAKE1)", "getLensType", "destroy(2,FAKE1)", "create(2,FAKE1)", "setLensType(0)",
                       "disableStallDetection(0)", "setSensitivityMode(0)", "getSensitivityMode", "calibrateAll",
                       "setZoomSpeed(0)", "setFocusSpeed(1)", "getFocusPosition", "getMaxFocusPosition"};
}

void TestMainWindowSettings::saveCommissionsBoard()
{
    QFETCH(QByteArray, config);
    QFETCH(int, lensIndex);
    QFETCH(int, zoomSpeed);
    QFETCH(int, focusSpeed);
    QFETCH(bool, longCable);
    QFETCH(QByteArray, savedConfig);
    QFETCH(QStringList, calls);
    writeConfig(config);
    m_board->maxFocus = 3210;
    m_board->focusPosition = 1234;
    auto window = makeWindow();
    if (config.contains("stallDetection=false"))
        QTest::ignoreMessage(QtDebugMsg, "Stalldetection is off!");
    widget<QComboBox>(*window, "cb_lensSelect")->setCurrentIndex(lensIndex);
    widget<QComboBox>(*window, "cb_zoomSpeed")->setCurrentIndex(zoomSpeed);
    widget<QComboBox>(*window, "cb_focusSpeed")->setCurrentIndex(focusSpeed);
    widget<QCheckBox>(*window, "cb_longCable")->setChecked(longCable);

    click(*window, "pb_settingsMultiButton");

    QCOMPARE(m_reports, Reports());
    QCOMPARE(m_board->calls, calls);
    QCOMPARE(configText(), savedConfig);
    verifyEditingMode(*window, false);
    QVERIFY(!widget<QPushButton>(*window, "pb_settingsCancel")->isEnabled());

    const bool tavro = widget<QComboBox>(*window, "cb_controller")->currentIndex() == MainWindow::TAVRO_CONTROLLER;
    QCOMPARE(widget<QPushButton>(*window, "pb_storeInDevice")->text(),
             tavro ? QStringLiteral("Store in device") : QStringLiteral("Store presets"));
    QCOMPARE(widget<QSlider>(*window, "hs_motor2")->maximum(), 3210);
    QCOMPARE(widget<QLineEdit>(*window, "le_motor2")->text(), QStringLiteral("1234"));
    for (const char *name : {"hs_motor2", "le_motor2", "groupBox_focus", "pb_focusNear", "pb_focusFar",
                             "pb_focusStop"})
        QVERIFY2(widget<QWidget>(*window, name)->isEnabled(), name);
    for (const char *name : {"hs_motor1", "le_motor1", "hs_motor3", "le_motor3", "groupBox_zoom", "groupBox_iris",
                             "pb_zoomWide", "pb_zoomTele", "pb_zoomStop", "pb_irisClose", "pb_irisOpen",
                             "pb_irisStop"})
        QVERIFY2(widget<QWidget>(*window, name)->isEnabled() == tavro, name);
    if (tavro)
        QCOMPARE(widget<QSlider>(*window, "hs_motor3")->maximum(), 100);
}

void TestMainWindowSettings::saveTreatsMissingSpeedAsLow()
{
    writeConfig("[controller]\nlastSelected=1\n[motor]\nlastSelected=1\nzoomSpeed=7\nfocusSpeed=-4\n"
                "[serialPort]\nlastSelected=FAKE1\n");
    auto window = makeWindow();
    QCOMPARE(widget<QComboBox>(*window, "cb_zoomSpeed")->currentIndex(), -1);
    QCOMPARE(widget<QComboBox>(*window, "cb_focusSpeed")->currentIndex(), -1);

    click(*window, "pb_settingsMultiButton");

    QVERIFY(m_board->calls.contains(QStringLiteral("setZoomSpeed(0)")));
    QVERIFY(m_board->calls.contains(QStringLiteral("setFocusSpeed(0)")));
    const QSettings settings(QStringLiteral("config.ini"), QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("motor/zoomSpeed")).toString(), QStringLiteral("0"));
    QCOMPARE(settings.value(QStringLiteral("motor/focusSpeed")).toString(), QStringLiteral("0"));
}

void TestMainWindowSettings::saveFailuresWriteNothing_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<int>("controllerIndex"); // chosen after start-up; -2 leaves the restored one
    QTest::addColumn<int>("lensIndex");       // likewise
    QTest::addColumn<int>("boardLensType");
    QTest::addColumn<QByteArray>("logLine");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("no port") << QByteArray("[controller]\nlastSelected=1\n[motor]\nlastSelected=1\n") << -2 << -2
                             << 1 << QByteArray("Error, no serial port selected!") << kNoPortText << QStringList();
    QTest::newRow("port gone") << QByteArray(kTavroConfig).replace("FAKE1", "FAKE2") << -2 << -2 << 1
                               << QByteArray("Error, no serial port selected!") << kNoPortText << QStringList();
    QTest::newRow("no board") << kTavroConfig << -2 << -2 << -1 << QByteArray("No lens controller board detected!")
                              << kNoBoardText
                              << QStringList({"create(1,FAKE1)", "getLensType", "destroy(1,FAKE1)"});
    QTest::newRow("pellan, no board")
        << kPellanConfig << -2 << -2 << -1 << QByteArray("No lens controller board detected!") << kNoBoardText
        << QStringList({"create(2,FAKE1)", "getLensType", "destroy(2,FAKE1)"});
    QTest::newRow("no lens") << kTavroConfig << -2 << 0 << 1 << QByteArray("Please select lens!") << kNoLensText
                             << QStringList({"create(1,FAKE1)", "getLensType", "destroy(1,FAKE1)"});
    QTest::newRow("board reports a lens the list lacks")
        << kTavroConfig << -2 << 5 << 1 << QByteArray("Please select lens!") << kNoLensText
        << QStringList({"create(1,FAKE1)", "getLensType", "destroy(1,FAKE1)"});
    QTest::newRow("no board type since start-up")
        << QByteArray(kLinkKeys + "\n[serialPort]\nlastSelected=FAKE1\n") << -2 << -2 << 1
        << QByteArray("No lens controller board detected!") << kNoBoardText << QStringList();
    QTest::newRow("prompt chosen after a board")
        << kTavroConfig << 0 << -2 << 1 << QByteArray("No lens controller board detected!") << kNoBoardText
        << QStringList();
}

void TestMainWindowSettings::saveFailuresWriteNothing()
{
    QFETCH(QByteArray, config);
    QFETCH(int, controllerIndex);
    QFETCH(int, lensIndex);
    QFETCH(int, boardLensType);
    QFETCH(QByteArray, logLine);
    QFETCH(QString, text);
    QFETCH(QStringList, calls);
    writeConfig(config);
    m_board->lensType = boardLensType;
    auto window = makeWindow();
    if (controllerIndex != -2)
        widget<QComboBox>(*window, "cb_controller")->setCurrentIndex(controllerIndex);
    if (lensIndex != -2)
        widget<QComboBox>(*window, "cb_lensSelect")->setCurrentIndex(lensIndex);
    const QByteArray before = configText();

    QTest::ignoreMessage(QtCriticalMsg, logLine.constData());
    click(*window, "pb_settingsMultiButton");

    QCOMPARE(m_reports, Reports({{QMessageBox::Critical, text}}));
    QCOMPARE(m_board->calls, calls);
    QCOMPARE(configText(), before);
    verifyEditingMode(*window, true);
    QVERIFY(!widget<QPushButton>(*window, "pb_settingsCancel")->isEnabled());
}

void TestMainWindowSettings::failedSaveInEditingKeepsDriver()
{
    writeConfig(kTavroConfig);
    auto window = makeWindow();
    saveSuccessfully(*window);
    click(*window, "pb_settingsMultiButton");
    QVERIFY(widget<QPushButton>(*window, "pb_settingsCancel")->isEnabled());
    const QByteArray before = configText();

    widget<QComboBox>(*window, "cb_lensSelect")->setCurrentIndex(0);
    QTest::ignoreMessage(QtCriticalMsg, "Please select lens!");
    click(*window, "pb_settingsMultiButton");

    QCOMPARE(m_reports, Reports({{QMessageBox::Critical, kNoLensText}}));
    QVERIFY(!widget<QPushButton>(*window, "pb_settingsCancel")->isEnabled());
    QCOMPARE(configText(), before);
    // Only the probe came and went; the driver in service is still there.
    QCOMPARE(m_board->calls, QStringList({"create(1,FAKE1)", "getLensType", "destroy(1,FAKE1)"}));
    verifyEditingMode(*window, true);
    window.reset();
    QCOMPARE(m_board->calls.last(), QStringLiteral("destroy(1,FAKE1)"));
    QCOMPARE(m_board->calls.size(), 4);
}

void TestMainWindowSettings::testProbesWithoutTouchingService_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<int>("boardLensType");
    QTest::addColumn<int>("sensitivityMode");
    QTest::addColumn<int>("lensIndex");
    QTest::addColumn<bool>("longCable");
    QTest::addColumn<bool>("speedsEnabled");

    QTest::newRow("tavro, second lens, long cable") << kTavroConfig << 2 << 1 << 2 << true << true;
    QTest::newRow("tavro, no lens set, short cable") << kTavroConfig << 0 << 0 << 0 << false << false;
    QTest::newRow("pellan") << kPellanConfig << 0 << 0 << 0 << false << true;
}

void TestMainWindowSettings::testProbesWithoutTouchingService()
{
    QFETCH(QByteArray, config);
    QFETCH(int, boardLensType);
    QFETCH(int, sensitivityMode);
    QFETCH(int, lensIndex);
    QFETCH(bool, longCable);
    QFETCH(bool, speedsEnabled);
    writeConfig(config);
    auto window = makeWindow();
    saveSuccessfully(*window);
    click(*window, "pb_settingsMultiButton");
    const QByteArray before = configText();
    m_board->lensType = boardLensType;
    m_board->sensitivityMode = sensitivityMode;
    widget<QCheckBox>(*window, "cb_longCable")->setChecked(!longCable);

    QTest::ignoreMessage(QtCriticalMsg, "Lens controller board detected!");
    click(*window, "pb_testSerial");

    QCOMPARE(m_reports, Reports({{QMessageBox::Information, kBoardFoundText}}));
    auto *lens = widget<QComboBox>(*window, "cb_lensSelect");
    QCOMPARE(lens->currentIndex(), lensIndex);
    QCOMPARE(widget<QCheckBox>(*window, "cb_longCable")->isChecked(), longCable);
    QCOMPARE(widget<QComboBox>(*window, "cb_focusSpeed")->isEnabled(), speedsEnabled);
    const QString type = QString::number(widget<QComboBox>(*window, "cb_controller")->currentIndex());
    const QString probe = QStringLiteral("(%1,FAKE1)").arg(type);
    QCOMPARE(m_board->calls,
             QStringList({"create" + probe, "getLensType", "getSensitivityMode", "destroy" + probe}));
    QCOMPARE(configText(), before);
    verifyEditingMode(*window, true);
    QVERIFY(!widget<QPushButton>(*window, "pb_settingsCancel")->isEnabled());
    // The driver in service is the one Save made, still on its port.
    window.reset();
    QCOMPARE(m_board->calls.mid(4), QStringList({"destroy" + probe}));
}

void TestMainWindowSettings::testFailures_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<int>("boardLensType");
    QTest::addColumn<QByteArray>("logLine");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("no port") << QByteArray("[controller]\nlastSelected=1\n[motor]\nlastSelected=1\n") << 1
                             << QByteArray("Error, no serial port selected!") << kNoPortText << QStringList();
    QTest::newRow("no board") << kTavroConfig << -1 << QByteArray("No lens controller board detected!")
                              << kNoBoardText
                              << QStringList({"create(1,FAKE1)", "getLensType", "destroy(1,FAKE1)"});
    QTest::newRow("no board type") << QByteArray("[serialPort]\nlastSelected=FAKE1\n") << 1
                                   << QByteArray("No lens controller board detected!") << kNoBoardText
                                   << QStringList();
}

void TestMainWindowSettings::testFailures()
{
    QFETCH(QByteArray, config);
    QFETCH(int, boardLensType);
    QFETCH(QByteArray, logLine);
    QFETCH(QString, text);
    QFETCH(QStringList, calls);
    writeConfig(config);
    m_board->lensType = boardLensType;
    auto window = makeWindow();
    const QByteArray before = configText();
    auto *lens = widget<QComboBox>(*window, "cb_lensSelect");
    const int lensIndex = lens->currentIndex();

    QTest::ignoreMessage(QtCriticalMsg, logLine.constData());
    click(*window, "pb_testSerial");

    QCOMPARE(m_reports, Reports({{QMessageBox::Critical, text}}));
    QCOMPARE(m_board->calls, calls);
    QCOMPARE(lens->currentIndex(), lensIndex);
    QCOMPARE(configText(), before);
}

void TestMainWindowSettings::editSettingsAndCancel_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::newRow("tavro") << kTavroConfig;
    QTest::newRow("pellan") << kPellanConfig;
}

void TestMainWindowSettings::editSettingsAndCancel()
{
    QFETCH(QByteArray, config);
    writeConfig(config);
    auto window = makeWindow();
    saveSuccessfully(*window);
    const QByteArray saved = configText();

    click(*window, "pb_settingsMultiButton");
    verifyEditingMode(*window, true);
    QVERIFY(widget<QPushButton>(*window, "pb_settingsCancel")->isEnabled());

    // Nothing chosen while editing is taken back or written by Cancel.
    widget<QComboBox>(*window, "cb_zoomSpeed")->setCurrentIndex(2);
    click(*window, "pb_settingsCancel");
    verifyEditingMode(*window, false);
    QVERIFY(!widget<QPushButton>(*window, "pb_settingsCancel")->isEnabled());
    QCOMPARE(widget<QComboBox>(*window, "cb_zoomSpeed")->currentIndex(), 2);

    QCOMPARE(m_reports, Reports());
    QCOMPARE(m_board->calls, QStringList());
    QCOMPARE(configText(), saved);
}

void TestMainWindowSettings::cancelRefusals()
{
    writeConfig(kTavroConfig);
    auto window = makeWindow();

    // Before any Save there is nothing to return to.
    QTest::ignoreMessage(QtCriticalMsg, "Error, no serial port selected!");
    window->cancelSettingsClicked();
    QCOMPARE(m_reports, Reports({{QMessageBox::Critical, kNoPortText}}));
    verifyEditingMode(*window, true);

    // A Tavro board whose Test found no lens set cannot be returned to.
    m_reports.clear();
    saveSuccessfully(*window);
    click(*window, "pb_settingsMultiButton");
    m_board->lensType = 0;
    QTest::ignoreMessage(QtCriticalMsg, "Lens controller board detected!");
    click(*window, "pb_testSerial");
    m_reports.clear();
    QTest::ignoreMessage(QtCriticalMsg, "Please select lens!");
    window->cancelSettingsClicked();
    QCOMPARE(m_reports, Reports({{QMessageBox::Critical, kNoLensText}}));
    verifyEditingMode(*window, true);
}

void TestMainWindowSettings::setSerialPortConnects()
{
    writeConfig(kTavroConfig);
    auto window = makeWindow();

    QTest::ignoreMessage(QtCriticalMsg, "Error, no serial port selected!");
    window->setSerialPort(QString(), 1);
    QCOMPARE(m_board->calls, QStringList());
    QVERIFY(!widget<QGroupBox>(*window, "groupBox_lensControl")->isEnabled());

    window->setSerialPort(QStringLiteral("FAKE9"), 2);
    QCOMPARE(m_board->calls, QStringList({"create(1,FAKE9)", "setLensType(2)", "initMotor"}));
    QVERIFY(widget<QGroupBox>(*window, "groupBox_lensControl")->isEnabled());
    QVERIFY(widget<QGroupBox>(*window, "groupBox_presets")->isEnabled());
    QCOMPARE(m_reports, Reports());
}

void TestMainWindowSettings::unwritableSettingsFileIsLogged_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("read-only folder") << true;
    QTest::newRow("config.ini is a folder") << false;
}

void TestMainWindowSettings::unwritableSettingsFileIsLogged()
{
    QFETCH(bool, readOnlyFolder);
    if (readOnlyFolder) {
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(m_dir->filePath(QStringLiteral("probe")));
        if (probe.open(QIODevice::WriteOnly))
            QSKIP("permissions do not keep this user from writing");
    } else {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("config.ini")));
    }
    const QString path = QDir(m_dir->path()).absoluteFilePath(QStringLiteral("config.ini"));
    const QString line = QStringLiteral("Could not write the settings file:  \"%1\"").arg(path);

    QTest::ignoreMessage(QtCriticalMsg, line.toUtf8().constData());
    auto window = makeWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Tavro Lens Controller - Qelvar"));
}

void TestMainWindowSettings::websiteOpensMakersSite()
{
    auto window = makeWindow();
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "openUrl");

    window->websiteClicked(QStringLiteral("https://elsewhere.example"));

    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(recorder.openedUrl, QUrl(QStringLiteral("https://www.corvane.example")));
}

QTEST_MAIN(TestMainWindowSettings)
#include "tst_mainwindowsettings.moc"
