#include "debugline.h"
#include "fakecontroller.h"
#include "lenswindow.h"
#include "operatorreport.h"
#include "pause.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using Reports = QList<QPair<OperatorReport::Severity, QString>>;

namespace {
const QString kNoPortText = QStringLiteral("Please select a valid serial port!");
const QString kNoBoardText = QStringLiteral("No lens controller board detected on this serial port!");
const QString kNoLensText = QStringLiteral("Please select lens!");
const QByteArray kLinkKeys = "[info]\nweblink=https://www.corvane.example\nweblinktitle=www.corvane.example\n";
const QByteArray kTavroConfig = kLinkKeys
    + "\n[controller]\nlastSelected=1\n\n[motor]\nlastSelected=1\n\n[serialPort]\nlastSelected=FAKE1\n";
const QByteArray kPellanConfig = kLinkKeys + "\n[controller]\nlastSelected=2\n\n[serialPort]\nlastSelected=FAKE1\n";

QByteArray configText()
{
    QFile file(QStringLiteral("config.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

QStringList items(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}
} // namespace

class TestMainWindowSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<FakeBoard> m_board;
    std::unique_ptr<MainWindow> m_window;
    Reports m_reports;
    // What the board answers a probe of each board type, where set.
    QMap<int, int> m_lensTypeOf;
    // The ports offered from the next driver made on, when set.
    QByteArray m_portsFromNextDriver;

    void open(const QByteArray &config = QByteArray())
    {
        QFile file(QStringLiteral("config.ini"));
        QVERIFY(config.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(config) == config.size()));
        file.close();
        m_window = std::make_unique<LensWindow>();
        auto board = m_board;
        m_window->setControllerFactory([this, board](BoardType type, const QString &port) {
            board->lensType = m_lensTypeOf.value(int(type), board->lensType);
            if (!m_portsFromNextDriver.isEmpty())
                qputenv("TAVRO_EXTRA_PORTS", std::exchange(m_portsFromNextDriver, {}));
            const QString name = QStringLiteral("(%1,%2)").arg(int(type)).arg(port);
            board->calls << "create" + name;
            auto driver = std::make_unique<FakeController>(port, board);
            QObject::connect(driver.get(), &QObject::destroyed, [board, name] { board->calls << "destroy" + name; });
            return std::unique_ptr<Controller>(std::move(driver));
        }, LensSession::Threading::CallersThread);
    }
    template<typename T = QWidget>
    T *w(const char *name) { return m_window->findChild<T *>(QLatin1String(name)); }
    // Clicks and waits until the board has heard all of it.
    void click(const char *button)
    {
        QTest::mouseClick(w<QPushButton>(button), Qt::LeftButton);
        QTRY_VERIFY(m_window->isIdle());
    }
    void verifyEditingMode(bool editing)
    {
        QCOMPARE(w<QPushButton>("pb_settingsMultiButton")->text(), editing ? "Save" : "Edit Settings");
        for (const char *name : {"groupBox_lensControl", "groupBox_presets", "pb_storeInDevice"})
            QVERIFY2(w(name)->isEnabled() != editing, name);
        for (const char *name : {"cb_controller", "gb_lens", "gb_serialPort"})
            QVERIFY2(w(name)->isEnabled() == editing, name);
    }
    // Which motors' controls (slider, line edit, group, run and stop buttons) are enabled, and the
    // store button's caption.
    QString controls()
    {
        QStringList shown;
        for (const QString motor : {"zoom", "focus", "iris"}) {
            const int n = motor == "zoom" ? 1 : motor == "focus" ? 2 : 3;
            const QStringList buttons = motor == "zoom" ? QStringList{"Wide", "Tele", "Stop"}
                : motor == "focus"                      ? QStringList{"Near", "Far", "Stop"}
                                                        : QStringList{"Close", "Open", "Stop"};
            QList<QWidget *> widgets{w(qPrintable(QString("hs_motor%1").arg(n))),
                                     w(qPrintable(QString("le_motor%1").arg(n))),
                                     w(qPrintable("groupBox_" + motor))};
            for (const QString &button : buttons)
                widgets << w(qPrintable("pb_" + motor + button));
            QWidget *group = w("groupBox_lensControl"); // disabled as a whole while editing
            const int enabled = std::count_if(widgets.begin(), widgets.end(), [group](QWidget *x) { return x->isEnabledTo(group); });
            shown << motor + (enabled == widgets.size() ? " on" : enabled == 0 ? " off" : " mixed");
        }
        return shown.join(", ") + "; " + w<QPushButton>("pb_storeInDevice")->text();
    }
    void saveThenEdit()
    {
        click("pb_settingsMultiButton");
        QCOMPARE(m_reports, Reports());
        click("pb_settingsMultiButton");
        QVERIFY(w("pb_settingsCancel")->isEnabled());
        m_board->calls.clear();
    }

private slots:
    void init()
    {
        m_window.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid() && QDir::setCurrent(m_dir->path()));
        qputenv("TAVRO_EXTRA_PORTS", "FAKE1:FAKE2");
        QVERIFY(QDir().mkdir("by-id") && QFile::link("/dev/null", "by-id/usb-A"));
        qputenv("TAVRO_SERIAL_BY_ID", QFile::encodeName(QDir::current().absoluteFilePath("by-id")));
        auto board = m_board = std::make_shared<FakeBoard>();
        m_reports.clear();
        m_lensTypeOf.clear();
        m_portsFromNextDriver.clear();
        OperatorReport::setReporter([this](OperatorReport::Severity icon, const QString &text, const QString &detail) {
            m_reports.append({icon, detail.isEmpty() ? text : text + " / " + detail});
        });
        Pause::setFunction([board](unsigned long ms) { board->calls << QStringLiteral("pause(%1)").arg(ms); });
    }
    void cleanup() { m_window.reset(); }

    void firstStartWithoutConfig()
    {
        open();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Tavro Lens Controller - Qelvar"));
        QCOMPARE(items(w<QComboBox>("cb_controller")),
                 QStringList({"Please select controller", "Tavro Controller", "Pellan Focus Controller"}));
        for (const char *name : {"cb_zoomSpeed", "cb_focusSpeed"}) {
            QCOMPARE(items(w<QComboBox>(name)), QStringList({"Low", "Medium", "High"}));
            QVERIFY(!w(name)->isEnabled());
        }
        QVERIFY(!w("pb_settingsCancel")->isEnabled());
        verifyEditingMode(true);
        QCOMPARE(configText(), kLinkKeys);
        QTest::ignoreMessage(QtCriticalMsg, "Error, no serial port selected!");
        m_window->cancelSettingsClicked();
        QCOMPARE(m_reports, Reports({{OperatorReport::Severity::Critical, kNoPortText}}));
        // The regions have fixed places: a window smaller than the form would hide some of them.
        m_window->resize(700, 500);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        for (const QWidget *region : w("centralwidget")->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY2(w("centralwidget")->rect().contains(region->geometry()), qPrintable(region->objectName()));
    }

    // A file that holds both link keys is left as it is at start; rewritten, it
    // would lose its comment and have its groups sorted.
    void startLeavesAFileWithTheLinkKeys()
    {
        const QByteArray config = "; kept by hand\n[serialPort]\nlastSelected=FAKE1\n\n" + kLinkKeys;
        open(config);
        QCOMPARE(configText(), config);
    }

    void startAddsAMissingLinkKey()
    {
        open("[info]\nweblink=https://lens.example\n");
        QCOMPARE(configText(), QByteArray("[info]\nweblink=https://lens.example\nweblinktitle=www.corvane.example\n"));
    }

    void restoresBoardLensAndSpeeds_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("panel"); // board type; lenses, the current one starred; zoom and focus speed
        QTest::newRow("tavro, named second lens, speeds")
            << QByteArray("[controller]\nlastSelected=1\n[motor]\nlastSelected=2\nzoomSpeed=2\nfocusSpeed=1\n"
                          "[motor2]\nname=Tele\n")
            << "1; Please select lens|Default Tavro Lens|*Tele; 2 on; 1 on";
        for (const char *lens : {"3", "-1"})
            QTest::addRow("tavro, lens %s is the prompt", lens)
                << QByteArray("[controller]\nlastSelected=1\n[motor]\nlastSelected=") + lens + "\n"
                << "1; *Please select lens|Default Tavro Lens|Default; 0 off; 0 off";
        QTest::newRow("tavro, speed 7 has no entry")
            << QByteArray("[controller]\nlastSelected=1\n[motor]\nlastSelected=1\nzoomSpeed=7\n")
            << "1; Please select lens|*Default Tavro Lens|Default; -1 on; 0 on";
    }

    void restoresBoardLensAndSpeeds()
    {
        QFETCH(QByteArray, config);
        open(config);
        QStringList lenses = items(w<QComboBox>("cb_lensSelect"));
        lenses[w<QComboBox>("cb_lensSelect")->currentIndex()].prepend('*');
        QStringList panel{QString::number(w<QComboBox>("cb_controller")->currentIndex()), lenses.join('|')};
        for (const char *name : {"cb_zoomSpeed", "cb_focusSpeed"})
            panel << QStringLiteral("%1 %2").arg(w<QComboBox>(name)->currentIndex()).arg(w(name)->isEnabled() ? "on" : "off");
        QTEST(panel.join("; "), "panel");
    }

    void saveCommissionsBoard_data()
    {
        QTest::addColumn<QByteArray>("config");
        // Lens, zoom and focus speed (-1 keeps the restored one), long cable, and 1 for a board whose reads
        // all fail: Save goes on to operating mode all the same.
        QTest::addColumn<QList<int>>("choices");
        QTest::addColumn<QByteArray>("savedConfig");
        QTest::addColumn<QString>("calls");
        const QString tavroReads = " getZoomPosition getFocusPosition getIrisPosition getMaxZoomPosition getMaxFocusPosition";
        QTest::newRow("tavro, first lens, short cable")
            << kTavroConfig << QList<int>{1, 1, 2, 0}
            << "[controller]\nlastSelected=1\n\n" + kLinkKeys
                + "\n[motor]\nfocusSpeed=2\nlastSelected=1\nzoomSpeed=1\n\n[serialPort]\nlastSelected=FAKE1\n"
            << "create(1,FAKE1) getLensType destroy(1,FAKE1) create(1,FAKE1) setLensType(1) disableStallDetection(0) "
               "setSensitivityMode(0) getSensitivityMode calibrateAll pause(8000) setZoomSpeed(1) setFocusSpeed(2)" + tavroReads;
        QTest::newRow("tavro, second lens, long cable, no stall detection, speeds out of range, reads failing")
            << kTavroConfig + "\n[misc]\nstallDetection=false\n[motor]\nzoomSpeed=7\nfocusSpeed=-4\n"
            << QList<int>{2, -1, -1, 1, 1}
            << "[controller]\nlastSelected=1\n\n" + kLinkKeys
                + "\n[misc]\nstallDetection=false\n\n[motor]\nfocusSpeed=0\nlastSelected=2\nzoomSpeed=0\n\n"
                  "[serialPort]\nlastSelected=FAKE1\n"
            << "create(1,FAKE1) getLensType destroy(1,FAKE1) create(1,FAKE1) setLensType(2) disableStallDetection(1) "
               "setSensitivityMode(1) getSensitivityMode calibrateAll pause(8000) setZoomSpeed(0) setFocusSpeed(0)" + tavroReads;
        QTest::newRow("pellan, no pause, lens not checked")
            << kPellanConfig << QList<int>{0, 0, 1, 0}
            << "[controller]\nlastSelected=2\n\n" + kLinkKeys
                + "\n[motor]\nfocusSpeed=1\nlastSelected=0\nzoomSpeed=0\n\n[serialPort]\nlastSelected=FAKE1\n"
            << QStringLiteral("create(2,FAKE1) getLensType destroy(2,FAKE1) create(2,FAKE1) setLensType(0) "
                              "disableStallDetection(0) setSensitivityMode(0) getSensitivityMode calibrateAll "
                              "setZoomSpeed(0) setFocusSpeed(1) getFocusPosition getMaxFocusPosition");
    }

    void saveCommissionsBoard()
    {
        QFETCH(QByteArray, config);
        QFETCH(QList<int>, choices);
        open(config);
        if (config.contains("stallDetection=false"))
            EXPECT_DEBUG_LINE("Stalldetection is off!");
        w<QComboBox>("cb_lensSelect")->setCurrentIndex(choices[0]);
        for (int i : {1, 2})
            if (choices[i] >= 0)
                w<QComboBox>(i == 1 ? "cb_zoomSpeed" : "cb_focusSpeed")->setCurrentIndex(choices[i]);
        w<QCheckBox>("cb_longCable")->setChecked(choices[3]);
        if (choices.value(4))
            *m_board = {{}, -1, -1, -1, -1, -1, -1, m_board->lensType, -1};

        click("pb_settingsMultiButton");

        QCOMPARE(m_reports, Reports());
        QTEST(m_board->calls.join(' '), "calls");
        QTEST(configText(), "savedConfig");
        verifyEditingMode(false);
        QVERIFY(!w("pb_settingsCancel")->isEnabled());
    }

    void testAndFailedSaveReport_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("change"); // made while editing after a successful Save; found=N: the board's lens
        QTest::addColumn<QString>("calls");
        const QString probe = "create(1,FAKE1) getLensType destroy(1,FAKE1)";
        const QString found = "create(1,FAKE1) getLensType getSensitivityMode destroy(1,FAKE1)";
        const QString bothProbes = probe + " create(2,FAKE1) getLensType destroy(2,FAKE1)";
        QTest::newRow("save, no port") << kTavroConfig << "port" << "";
        QTest::newRow("save, no board") << kTavroConfig << "board" << bothProbes;
        // The names of the board types are the ones config.ini gives the list.
        QTest::newRow("save, pellan board")
            << kTavroConfig + "[controller]\nfocusName=Pellan F\n" << "other=A Pellan board answered on this port: choose the controller type 'Pellan F'"
            << bothProbes;
        QTest::newRow("save, no board type") << kTavroConfig << "type" << "";
        QTest::newRow("save, no lens") << kTavroConfig << "lens=0" << probe;
        QTest::newRow("save, lens the list lacks") << kTavroConfig << "lens=5" << probe;
        QTest::newRow("test, second lens, long cable") << kTavroConfig << "found=2" << found;
        QTest::newRow("test, no lens set, short cable") << kTavroConfig << "found=0" << found;
        QTest::newRow("test, pellan") << kPellanConfig << "found=0" << QString(found).replace("(1,", "(2,");
    }

    void testAndFailedSaveReport()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, change);
        open(config);
        saveThenEdit();
        const QByteArray before = configText();
        if (change == "port")
            w<QComboBox>("cb_serialPortSelect")->setCurrentIndex(0);
        else if (change == "board")
            m_board->lensType = -1;
        else if (change.startsWith("other="))
            m_lensTypeOf = {{w<QComboBox>("cb_controller")->currentIndex(), -1}, {3 - w<QComboBox>("cb_controller")->currentIndex(), 0}};
        else if (change == "type")
            w<QComboBox>("cb_controller")->setCurrentIndex(0);
        else if (change.startsWith("lens="))
            w<QComboBox>("cb_lensSelect")->setCurrentIndex(change.mid(5).toInt());
        const bool found = change.startsWith("found=");
        if (found) {
            m_board->lensType = change.mid(6).toInt();
            m_board->sensitivityMode = m_board->lensType == 2;
            w<QCheckBox>("cb_longCable")->setChecked(m_board->lensType != 2);
        }
        const QMap<QString, QPair<const char *, QString>> reports{
            {"port", {"Error, no serial port selected!", kNoPortText}},
            {"board", {"No lens controller board detected!", kNoBoardText}},
            {"other", {"No lens controller board detected!", kNoBoardText + " / " + change.section('=', 1)}},
            {"lens", {"Please select lens!", kNoLensText}},
            {"found", {"Lens controller board detected!", "Success: Lens controller board detected on this serial port!"}}};
        const auto [logLine, text] = reports.value(change.section('=', 0, 0).replace("type", "board"));

        QTest::ignoreMessage(QtCriticalMsg, logLine);
        click(QByteArray(QTest::currentDataTag()).startsWith("save") ? "pb_settingsMultiButton" : "pb_testSerial");

        QCOMPARE(m_reports, Reports({{found ? OperatorReport::Severity::Information : OperatorReport::Severity::Critical, text}}));
        QVERIFY(!w("pb_settingsCancel")->isEnabled());
        QTEST(m_board->calls.join(' '), "calls");
        QCOMPARE(configText(), before);
        verifyEditingMode(true);
        if (!found)
            return;
        QCOMPARE(w<QComboBox>("cb_lensSelect")->currentIndex(), m_board->lensType);
        QCOMPARE(w<QCheckBox>("cb_longCable")->isChecked(), m_board->lensType == 2);
        m_reports.clear();
        const bool refused = config == kTavroConfig && m_board->lensType == 0;
        m_window->cancelSettingsClicked();
        QCOMPARE(m_reports, refused ? Reports({{OperatorReport::Severity::Critical, kNoLensText}}) : Reports());
        verifyEditingMode(refused);
        QTEST(m_board->calls.join(' '), "calls");
    }

    // Each Save puts a new driver on the port and board now chosen, stores that port, and shapes the
    // controls for the new board, whichever board came before.
    void secondSaveReplacesDriver_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("change"); // board=N or port=NAME, made after the first Save
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("controls");
        const QString tavro = "zoom on, focus on, iris on; Store in device";
        const QString pellan = "zoom off, focus on, iris off; Store presets";
        // The probe on the new choice, then the driver in service is replaced, never shared.
        QTest::newRow("tavro, then pellan")
            << kTavroConfig << "board=2" << "create(2,FAKE1) destroy(2,FAKE1) destroy(1,FAKE1) create(2,FAKE1)" << "FAKE1" << pellan;
        QTest::newRow("pellan, then tavro")
            << kPellanConfig << "board=1" << "create(1,FAKE1) destroy(1,FAKE1) destroy(2,FAKE1) create(1,FAKE1)" << "FAKE1" << tavro;
        QTest::newRow("tavro, then another port")
            << kTavroConfig << "port=FAKE2" << "create(1,FAKE2) destroy(1,FAKE2) destroy(1,FAKE1) create(1,FAKE2)" << "FAKE2" << tavro;
        QTest::newRow("tavro, then a stable name") << kTavroConfig << "port=usb-A (null)"
            << "create(1,%1/usb-A) destroy(1,%1/usb-A) destroy(1,FAKE1) create(1,%1/usb-A)" << "%1/usb-A" << tavro;
        // The port the board answered on, though it has left the list by the time the probe is over.
        QTest::newRow("port gone during the probe")
            << kTavroConfig << "ports=FAKE2" << "create(1,FAKE1) destroy(1,FAKE1) destroy(1,FAKE1) create(1,FAKE1)" << "FAKE1" << tavro;
    }

    void secondSaveReplacesDriver()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, change);
        QFETCH(QString, calls);
        QFETCH(QString, port);
        const QString byId = qEnvironmentVariable("TAVRO_SERIAL_BY_ID");
        open(config);
        const QString first = config == kTavroConfig ? "zoom on, focus on, iris on; Store in device"
                                                     : "zoom off, focus on, iris off; Store presets";
        saveThenEdit();
        QCOMPARE(controls(), first);
        const QString value = change.section('=', 1);
        if (change.startsWith("board")) {
            w<QComboBox>("cb_controller")->setCurrentIndex(value.toInt());
            w<QComboBox>("cb_lensSelect")->setCurrentIndex(value == "1" ? 1 : 0);
        } else if (change.startsWith("ports")) {
            m_portsFromNextDriver = value.toLatin1();
        } else {
            w<QComboBox>("cb_serialPortSelect")->setCurrentText(value);
        }
        click("pb_settingsMultiButton");
        QCOMPARE(m_reports, Reports());
        verifyEditingMode(false);
        QCOMPARE(m_board->calls.filter(QRegularExpression("^(create|destroy)")).join(' '), calls.replace("%1", byId));
        QCOMPARE(QSettings(QStringLiteral("config.ini"), QSettings::IniFormat).value("serialPort/lastSelected").toString(), port.replace("%1", byId));
        QTEST(controls(), "controls");
    }

    // A saved port missing at start stays the choice, shown as missing, and the board is found on it once
    // it is back, not on another port.
    void missingSavedPortIsKept()
    {
        qputenv("TAVRO_EXTRA_PORTS", "FAKE2");
        open(kTavroConfig);
        QCOMPARE(w<QComboBox>("cb_serialPortSelect")->currentText(), "FAKE1 (missing)");
        QTest::ignoreMessage(QtCriticalMsg, "Error, no serial port selected!");
        click("pb_testSerial");
        QCOMPARE(m_reports, Reports({{OperatorReport::Severity::Critical, kNoPortText}}));
        m_reports.clear();
        qputenv("TAVRO_EXTRA_PORTS", "FAKE2:FAKE1");
        QTest::ignoreMessage(QtCriticalMsg, "Lens controller board detected!");
        click("pb_testSerial");
        QCOMPARE(m_reports, Reports({{OperatorReport::Severity::Information, "Success: Lens controller board detected on this serial port!"}}));
        QCOMPARE(m_board->calls.first(), "create(1,FAKE1)");
    }

    // The operator learns at start, and again at each Save, that the choices will not be kept, and why;
    // also when the start has nothing to write. An ordinary user, since root may write anywhere.
    void unwritableSettingsFileIsReported_data()
    {
        QTest::addColumn<bool>("readOnlyFile"); // with both link keys, in a folder anyone may write
        QTest::newRow("read-only folder") << false;
        QTest::newRow("read-only file with both link keys") << true;
    }
    void unwritableSettingsFileIsReported()
    {
#ifdef Q_OS_UNIX
        QFETCH(bool, readOnlyFile);
        const QString path = QDir(m_dir->path()).absoluteFilePath(QStringLiteral("config.ini"));
        const QFile::Permissions read = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther,
                                 enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther,
                                 write = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        QFile file(path);
        QVERIFY(!readOnlyFile || (file.open(QIODevice::WriteOnly) && file.write(kTavroConfig) > 0 && file.setPermissions(read)));
        file.close();
        QVERIFY(QFile::setPermissions(m_dir->path(), read | enter | (readOnlyFile ? write : QFile::Permissions())));
        const auto restore = qScopeGuard([] { QVERIFY(getuid() != 0 || seteuid(0) == 0); });
        if (geteuid() == 0 && seteuid(65534) != 0)
            QSKIP("cannot become an ordinary user");
        const Reports warning{{OperatorReport::Severity::Warning, "The settings file " + path + " cannot be written: Permission denied.\n\n"
                               "The choices made in this window will not be kept. Start the program from a folder you may write to."}};
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^Could not write the settings file: "));
        open();
        QCOMPARE(m_reports, warning);
        m_reports.clear();
        w<QComboBox>("cb_controller")->setCurrentIndex(1);
        w<QComboBox>("cb_lensSelect")->setCurrentIndex(1);
        w<QComboBox>("cb_serialPortSelect")->setCurrentText("FAKE1");
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^Could not write the settings file: "));
        click("pb_settingsMultiButton");
        QCOMPARE(m_reports, warning);
        verifyEditingMode(false);
#else
        QSKIP("made with POSIX permissions");
#endif
    }
};

QTEST_MAIN(TestMainWindowSettings)
#include "tst_mainwindowsettings.moc"
