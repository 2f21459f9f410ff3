// Operating the lens through the window's motor controls, presets, Calibrate
// All and Store in device, with a fake driver brought into service by Save.

#include "fakecontroller.h"
#include "mainwindow.h"
#include "operatorreport.h"
#include "pause.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// A window in a working directory of its own, whose config.ini preselects a
// board on the port FAKE1, with pauses recorded in the board's call log.
class OperatingWindow
{
public:
    explicit OperatingWindow(MainWindow::ControllerType type = MainWindow::TAVRO_CONTROLLER)
        : board(std::make_shared<FakeBoard>())
        , m_previousDir(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
        {
            QSettings config(QStringLiteral("config.ini"), QSettings::IniFormat);
            config.setValue(QStringLiteral("controller/lastSelected"), int(type));
            config.setValue(QStringLiteral("motor/lastSelected"), 1);
            config.setValue(QStringLiteral("serialPort/lastSelected"), QStringLiteral("FAKE1"));
        }
        std::shared_ptr<FakeBoard> recorded = board;
        m_previousPause = Pause::setFunction([recorded](unsigned long ms) {
            recorded->calls << QStringLiteral("pause(%1)").arg(ms);
        });
        m_previousReporter = OperatorReport::setReporter(
            [this](QMessageBox::Icon, const QString &text) { reports << text; });

        window = std::make_unique<MainWindow>();
        window->setControllerFactory([recorded](MainWindow::ControllerType, const QString &port) {
            return std::make_unique<FakeController>(port, recorded);
        });
        window->show();
    }

    ~OperatingWindow()
    {
        window.reset();
        QDir::setCurrent(m_previousDir);
        Pause::setFunction(m_previousPause);
        OperatorReport::setReporter(m_previousReporter);
    }

    OperatingWindow(const OperatingWindow &) = delete;
    OperatingWindow &operator=(const OperatingWindow &) = delete;

    // Presses Save as the operator would; true once the window operates the
    // lens through the fake driver. The call log starts empty afterwards.
    bool save()
    {
        QTest::mouseClick(button("pb_settingsMultiButton"), Qt::LeftButton);
        const bool operating = button("pb_settingsMultiButton")->text() == QLatin1String("Edit Settings")
            && !board->calls.isEmpty();
        board->calls.clear();
        return operating && QTest::qWaitForWindowActive(window.get());
    }

    QPushButton *button(const QString &name) const { return child<QPushButton>(name); }
    QSlider *slider(int motor) const { return child<QSlider>(QStringLiteral("hs_motor%1").arg(motor)); }
    QLineEdit *lineEdit(int motor) const
    {
        return child<QLineEdit>(QStringLiteral("le_motor%1").arg(motor));
    }

    // Puts a motor's widgets into a known state the way the program does, which
    // must send nothing.
    void showState(int motor, int maximum, int value, const QString &text) const
    {
        slider(motor)->setMaximum(maximum);
        slider(motor)->setValue(value);
        lineEdit(motor)->setText(text);
    }

    void setBoardPosition(int motor, int position) const
    {
        switch (motor) {
        case 1: board->zoomPosition = position; break;
        case 2: board->focusPosition = position; break;
        default: board->irisPosition = position; break;
        }
    }

    void type(int motor, const QString &text) const
    {
        QLineEdit *edit = lineEdit(motor);
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    std::unique_ptr<MainWindow> window;
    std::shared_ptr<FakeBoard> board;
    QStringList reports;

private:
    template<typename T>
    T *child(const QString &name) const
    {
        T *widget = window->findChild<T *>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }

    QString m_previousDir;
    QTemporaryDir m_dir;
    Pause::Function m_previousPause;
    OperatorReport::Reporter m_previousReporter;
};

} // namespace

class TestMainWindowControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void typedPosition_data();
    void typedPosition();
    void sliderRelease_data();
    void sliderRelease();
    void stepButtons_data();
    void stepButtons();
    void runButtons_data();
    void runButtons();
    void stopButtons_data();
    void stopButtons();
    void refreshReadsFocusZoomIris();
    void refreshKeepsWidgetsOnFailedReads();
    void refreshWithFocusBoardShowsZeroForZoomAndIris();
    void programChangesSendNothing();
    void closingWithAnUnfinishedEntrySendsNothing();

    void presetButtons_data();
    void presetButtons();
    void calibrateAllResizesAndShows();
    void calibrateAllKeepsZoomOnFailedMaximum();
    void calibrateAllShowsFailedPositionAsRead();
    void storeInDevice();
    void nothingReachesAMissingDriver();
};

void TestMainWindowControls::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    qputenv("TAVRO_EXTRA_PORTS", "FAKE1");
}

void TestMainWindowControls::typedPosition_data()
{
    QTest::addColumn<int>("motor");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("sliderValue");
    QTest::addColumn<bool>("sliderFocused");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("logLines");

    // The sliders start at zoom 1500 / 7350, focus 250 / 4000, iris 40 / 100.
    const QStringList zoomNumber{"motor1LineEditChanged()", "all digits"};
    QTest::newRow("zoom abc") << 1 << "abc" << "1500" << 1500 << false << QStringList{}
                              << QStringList{"motor1LineEditChanged()", "wrong input"};
    QTest::newRow("zoom 12x") << 1 << "12x" << "1500" << 1500 << false << QStringList{}
                              << QStringList{"motor1LineEditChanged()", "wrong input"};
    QTest::newRow("zoom -5") << 1 << "-5" << "0" << 0 << true
                             << QStringList{"setZoomPosition(0)"} << zoomNumber;
    QTest::newRow("zoom 0042") << 1 << "0042" << "42" << 42 << true
                               << QStringList{"setZoomPosition(42)"} << zoomNumber;
    QTest::newRow("zoom 9000") << 1 << "9000" << "9000" << 7350 << true
                               << QStringList{"setZoomPosition(7350)"} << zoomNumber;

    const QStringList focusLog{"motor2LineEditChanged()"};
    QTest::newRow("focus abc") << 2 << "abc" << "0" << 0 << true
                               << QStringList{"setFocusPosition(0)"} << focusLog;
    QTest::newRow("focus -5") << 2 << "-5" << "0" << 0 << true
                              << QStringList{"setFocusPosition(0)"} << focusLog;
    QTest::newRow("focus 0042") << 2 << "0042" << "42" << 42 << true
                                << QStringList{"setFocusPosition(42)"} << focusLog;
    QTest::newRow("focus 9000") << 2 << "9000" << "9000" << 4000 << true
                                << QStringList{"setFocusPosition(4000)"} << focusLog;
    QTest::newRow("focus beyond int") << 2 << "99999999999" << "0" << 0 << true
                                      << QStringList{"setFocusPosition(0)"} << focusLog;

    QTest::newRow("iris 10") << 3 << "10" << "10" << 10 << true
                             << QStringList{"setIrisPosition(550)"} << QStringList{};
    QTest::newRow("iris abc") << 3 << "abc" << "0" << 0 << true
                              << QStringList{"setIrisPosition(0)"} << QStringList{};
    QTest::newRow("iris -5") << 3 << "-5" << "0" << 0 << true
                             << QStringList{"setIrisPosition(0)"} << QStringList{};
    QTest::newRow("iris 150") << 3 << "150" << "150" << 100 << true
                              << QStringList{"setIrisPosition(5500)"} << QStringList{};
}

void TestMainWindowControls::typedPosition()
{
    QFETCH(int, motor);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, sliderValue);
    QFETCH(bool, sliderFocused);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, logLines);

    OperatingWindow w;
    QVERIFY(w.save());
    w.showState(1, 7350, 1500, QStringLiteral("1200"));
    w.showState(2, 4000, 250, QStringLiteral("300"));
    w.showState(3, 100, 40, QStringLiteral("2750"));

    for (const QString &line : logLines)
        QTest::ignoreMessage(QtDebugMsg, qPrintable(line));
    w.type(motor, typed);

    QCOMPARE(w.lineEdit(motor)->text(), shown);
    QCOMPARE(w.slider(motor)->value(), sliderValue);
    QCOMPARE(w.slider(motor)->hasFocus(), sliderFocused);
    // Exactly one send, and no pause after a typed position; leaving the line
    // edit for the slider must not send a second time.
    QCOMPARE(w.board->calls, calls);
}

void TestMainWindowControls::sliderRelease_data()
{
    QTest::addColumn<int>("motor");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("logLine");

    QTest::newRow("zoom 3000") << 1 << 3000 << QStringList{"setZoomPosition(3000)", "pause(500)"}
                               << "motor1SliderChanged()";
    QTest::newRow("focus 250") << 2 << 250 << QStringList{"setFocusPosition(250)", "pause(500)"}
                               << "motor2SliderChanged()";
    QTest::newRow("iris 100") << 3 << 100 << QStringList{"setIrisPosition(5500)", "pause(500)"}
                              << QString();
    QTest::newRow("iris 7") << 3 << 7 << QStringList{"setIrisPosition(385)", "pause(500)"}
                            << QString();
}

void TestMainWindowControls::sliderRelease()
{
    QFETCH(int, motor);
    QFETCH(int, value);
    QFETCH(QStringList, calls);
    QFETCH(QString, logLine);

    OperatingWindow w;
    QVERIFY(w.save());
    w.showState(1, 7350, 1, QStringLiteral("1"));
    w.showState(2, 4000, 1, QStringLiteral("1"));
    w.showState(3, 100, 1, QStringLiteral("1"));

    if (!logLine.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, qPrintable(logLine));
    QSlider *slider = w.slider(motor);
    slider->setSliderDown(true);
    slider->setValue(value);
    QVERIFY(w.board->calls.isEmpty()); // dragging sends nothing, only the release
    slider->setSliderDown(false);

    QCOMPARE(w.lineEdit(motor)->text(), QString::number(value));
    QCOMPARE(w.board->calls, calls);
}

void TestMainWindowControls::stepButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("motor");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("call");

    QTest::newRow("zoom + clamps at 7350") << "pb_zoomPlus" << 1 << 7350 << 7300 << 7350
                                           << "setZoomPosition(7350)";
    QTest::newRow("zoom - by 73") << "pb_zoomMinus" << 1 << 7350 << 3000 << 2927
                                  << "setZoomPosition(2927)";
    QTest::newRow("zoom - clamps at 0") << "pb_zoomMinus" << 1 << 7350 << 50 << 0
                                        << "setZoomPosition(0)";
    QTest::newRow("focus + by 40") << "pb_focusPlus" << 2 << 4000 << 100 << 140
                                   << "setFocusPosition(140)";
    QTest::newRow("focus - at 0 re-sends 0") << "pb_focusMinus" << 2 << 4000 << 0 << 0
                                             << "setFocusPosition(0)";
    QTest::newRow("focus + with maximum 60 re-sends")
        << "pb_focusPlus" << 2 << 60 << 30 << 30 << "setFocusPosition(30)";
    QTest::newRow("focus - with maximum 99 re-sends")
        << "pb_focusMinus" << 2 << 99 << 99 << 99 << "setFocusPosition(99)";
    QTest::newRow("iris + by 1") << "pb_irisPlus" << 3 << 100 << 50 << 51
                                 << "setIrisPosition(2805)";
    QTest::newRow("iris + at 100") << "pb_irisPlus" << 3 << 100 << 100 << 100
                                   << "setIrisPosition(5500)";
    QTest::newRow("iris - to 0") << "pb_irisMinus" << 3 << 100 << 1 << 0 << "setIrisPosition(0)";
}

void TestMainWindowControls::stepButtons()
{
    QFETCH(QString, button);
    QFETCH(int, motor);
    QFETCH(int, maximum);
    QFETCH(int, start);
    QFETCH(int, expected);
    QFETCH(QString, call);

    OperatingWindow w;
    QVERIFY(w.save());
    w.showState(motor, maximum, start, QStringLiteral("777"));

    if (motor != 3)
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("motor%1SliderChanged()").arg(motor)));
    QTest::mouseClick(w.button(button), Qt::LeftButton);

    QCOMPARE(w.slider(motor)->value(), expected);
    QCOMPARE(w.lineEdit(motor)->text(), QString::number(expected));
    QCOMPARE(w.board->calls, (QStringList{call, QStringLiteral("pause(500)")}));
}

void TestMainWindowControls::runButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("motor");
    QTest::addColumn<QString>("call");

    QTest::newRow("Wide") << "pb_zoomWide" << 1 << "pelco_d_zoom_out";
    QTest::newRow("Tele") << "pb_zoomTele" << 1 << "pelco_d_zoom_in";
    QTest::newRow("Near") << "pb_focusNear" << 2 << "pelco_d_focus_near";
    QTest::newRow("Far") << "pb_focusFar" << 2 << "pelco_d_focus_far";
    QTest::newRow("Close") << "pb_irisClose" << 3 << "pelco_d_iris_close";
    QTest::newRow("Open") << "pb_irisOpen" << 3 << "pelco_d_iris_open";
}

void TestMainWindowControls::runButtons()
{
    QFETCH(QString, button);
    QFETCH(int, motor);
    QFETCH(QString, call);

    OperatingWindow w;
    QVERIFY(w.save());
    QTest::mouseClick(w.button(button), Qt::LeftButton);

    QCOMPARE(w.board->calls, QStringList{call});
    QVERIFY(w.slider(motor)->hasFocus());
}

void TestMainWindowControls::stopButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("motor");
    QTest::addColumn<int>("readBack");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("sliderValue");
    QTest::addColumn<QStringList>("calls");

    // Each motor shows "777" with its slider at 77 before the STOP.
    const QStringList zoom{"pelco_d_zoom_stop", "getZoomPosition"};
    QTest::newRow("zoom 1234") << "pb_zoomStop" << 1 << 1234 << "1234" << 1234 << zoom;
    QTest::newRow("zoom above range") << "pb_zoomStop" << 1 << 8000 << "8000" << 7350 << zoom;
    QTest::newRow("zoom failed read") << "pb_zoomStop" << 1 << -1 << "777" << 77 << zoom;

    const QStringList focus{"pelco_d_focus_stop", "getFocusPosition"};
    QTest::newRow("focus 321") << "pb_focusStop" << 2 << 321 << "321" << 321 << focus;
    QTest::newRow("focus failed read") << "pb_focusStop" << 2 << -1 << "0" << 0 << focus;

    const QStringList iris{"pelco_d_iris_stop", "getIrisPosition"};
    QTest::newRow("iris 5499") << "pb_irisStop" << 3 << 5499 << "99" << 99 << iris;
    QTest::newRow("iris 2750") << "pb_irisStop" << 3 << 2750 << "50" << 50 << iris;
    QTest::newRow("iris failed read") << "pb_irisStop" << 3 << -1 << "0" << 0 << iris;
    QTest::newRow("iris -55") << "pb_irisStop" << 3 << -55 << "777" << 77 << iris;
}

void TestMainWindowControls::stopButtons()
{
    QFETCH(QString, button);
    QFETCH(int, motor);
    QFETCH(int, readBack);
    QFETCH(QString, shown);
    QFETCH(int, sliderValue);
    QFETCH(QStringList, calls);

    OperatingWindow w;
    QVERIFY(w.save());
    w.showState(1, 7350, 77, QStringLiteral("777"));
    w.showState(2, 4000, 77, QStringLiteral("777"));
    w.showState(3, 100, 77, QStringLiteral("777"));
    w.setBoardPosition(motor, readBack);

    QTest::mouseClick(w.button(button), Qt::LeftButton);

    QCOMPARE(w.board->calls, calls);
    QCOMPARE(w.lineEdit(motor)->text(), shown);
    QCOMPARE(w.slider(motor)->value(), sliderValue);
    QVERIFY(w.slider(motor)->hasFocus());
}

void TestMainWindowControls::refreshReadsFocusZoomIris()
{
    OperatingWindow w;
    QVERIFY(w.save());
    w.board->zoomPosition = 1200;
    w.board->focusPosition = 300;
    w.board->irisPosition = 2750;

    QTest::mouseClick(w.button("pb_refresh"), Qt::LeftButton);

    QCOMPARE(w.board->calls,
             (QStringList{"getFocusPosition", "getZoomPosition", "getIrisPosition"}));
    QCOMPARE(w.lineEdit(1)->text(), QStringLiteral("1200"));
    QCOMPARE(w.slider(1)->value(), 1200);
    QCOMPARE(w.lineEdit(2)->text(), QStringLiteral("300"));
    QCOMPARE(w.slider(2)->value(), 300);
    QCOMPARE(w.lineEdit(3)->text(), QStringLiteral("50"));
    QCOMPARE(w.slider(3)->value(), 50);
    // Refresh leaves the keyboard focus where the operator put it.
    QVERIFY(w.button("pb_refresh")->hasFocus());
}

void TestMainWindowControls::refreshKeepsWidgetsOnFailedReads()
{
    OperatingWindow w;
    QVERIFY(w.save());
    for (int motor = 1; motor <= 3; ++motor) {
        w.showState(motor, 100, 77, QStringLiteral("777"));
        w.setBoardPosition(motor, -1);
    }

    QTest::mouseClick(w.button("pb_refresh"), Qt::LeftButton);

    QCOMPARE(w.lineEdit(1)->text(), QStringLiteral("777"));
    QCOMPARE(w.slider(1)->value(), 77);
    QCOMPARE(w.lineEdit(2)->text(), QStringLiteral("777"));
    QCOMPARE(w.slider(2)->value(), 77);
    // The iris read-back is divided before its sign is tested, so -1 shows 0.
    QCOMPARE(w.lineEdit(3)->text(), QStringLiteral("0"));
    QCOMPARE(w.slider(3)->value(), 0);
}

void TestMainWindowControls::refreshWithFocusBoardShowsZeroForZoomAndIris()
{
    OperatingWindow w(MainWindow::USM_CONTROLLER);
    // The focus board's driver answers 0 for the motors it does not have.
    w.board->zoomPosition = 0;
    w.board->irisPosition = 0;
    w.board->focusPosition = 1500;
    QVERIFY(w.save());
    w.showState(1, 7350, 77, QStringLiteral("777"));
    w.showState(3, 100, 77, QStringLiteral("777"));

    QTest::mouseClick(w.button("pb_refresh"), Qt::LeftButton);

    QCOMPARE(w.lineEdit(1)->text(), QStringLiteral("0"));
    QCOMPARE(w.slider(1)->value(), 0);
    QCOMPARE(w.lineEdit(2)->text(), QStringLiteral("1500"));
    QCOMPARE(w.slider(2)->value(), 1500);
    QCOMPARE(w.lineEdit(3)->text(), QStringLiteral("0"));
    QCOMPARE(w.slider(3)->value(), 0);
}

void TestMainWindowControls::programChangesSendNothing()
{
    OperatingWindow w;
    QVERIFY(w.save());
    for (int motor = 1; motor <= 3; ++motor) {
        w.slider(motor)->setValue(42);
        w.lineEdit(motor)->setText(QStringLiteral("17"));
        w.slider(motor)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    }
    QCOMPARE(w.board->calls, QStringList{});
}

void TestMainWindowControls::closingWithAnUnfinishedEntrySendsNothing()
{
    OperatingWindow w;
    QVERIFY(w.save());
    QLineEdit *edit = w.lineEdit(2);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("123"));
    QVERIFY(edit->hasFocus());

    // Destroying the shown window takes the focus from the line edit while the
    // driver and the form are already being torn down.
    w.window.reset();

    QCOMPARE(w.board->calls, QStringList{});
}

void TestMainWindowControls::presetButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("call");

    // The number itself reaches the driver: Call 3 is 3, not the digit '3' (51).
    for (int n = 1; n <= 10; ++n) {
        QTest::addRow("Set %d", n) << QStringLiteral("pb_storePreset%1").arg(n)
                                   << QStringLiteral("storePreset(%1)").arg(n);
        QTest::addRow("Call %d", n) << QStringLiteral("pb_callPreset%1").arg(n)
                                    << QStringLiteral("callPreset(%1)").arg(n);
    }
}

void TestMainWindowControls::presetButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, call);

    OperatingWindow w;
    QVERIFY(w.save());
    w.showState(1, 7350, 77, QStringLiteral("777"));

    QTest::mouseClick(w.button(button), Qt::LeftButton);

    QCOMPARE(w.board->calls, QStringList{call});
    // A preset moves the lens without reading it back.
    QCOMPARE(w.lineEdit(1)->text(), QStringLiteral("777"));
}

void TestMainWindowControls::calibrateAllResizesAndShows()
{
    OperatingWindow w;
    QVERIFY(w.save());
    w.board->maxZoom = 5000;
    w.board->maxFocus = 900;
    w.board->zoomPosition = 0;
    w.board->focusPosition = 0;
    w.board->irisPosition = 2750;
    w.showState(1, 7350, 77, QStringLiteral("777"));
    w.showState(2, 4000, 77, QStringLiteral("777"));
    w.showState(3, 55, 7, QStringLiteral("7"));

    QTest::mouseClick(w.button("pb_calibrateAll"), Qt::LeftButton);

    // The board calibrates on its own after the command; nothing is read before
    // the wait, and the iris maximum is not asked for.
    QCOMPARE(w.board->calls,
             (QStringList{"calibrateAll", "pause(8000)", "getZoomPosition", "getFocusPosition",
                          "getIrisPosition", "getMaxZoomPosition", "getMaxFocusPosition"}));
    QCOMPARE(w.slider(1)->maximum(), 5000);
    QCOMPARE(w.lineEdit(1)->text(), QStringLiteral("0"));
    QCOMPARE(w.slider(1)->value(), 0);
    QCOMPARE(w.slider(2)->maximum(), 900);
    QCOMPARE(w.lineEdit(2)->text(), QStringLiteral("0"));
    QCOMPARE(w.slider(2)->value(), 0);
    QCOMPARE(w.slider(3)->maximum(), 100);
    QCOMPARE(w.lineEdit(3)->text(), QStringLiteral("2750"));
    QCOMPARE(w.slider(3)->value(), 100);
}

void TestMainWindowControls::calibrateAllKeepsZoomOnFailedMaximum()
{
    OperatingWindow w;
    QVERIFY(w.save());
    w.board->maxZoom = -1;
    w.board->zoomPosition = 2000;
    w.board->maxFocus = 900;
    w.board->focusPosition = 450;
    w.board->irisPosition = 30;
    w.showState(1, 7350, 77, QStringLiteral("777"));
    w.showState(2, 4000, 77, QStringLiteral("777"));
    w.showState(3, 100, 77, QStringLiteral("777"));

    QTest::mouseClick(w.button("pb_calibrateAll"), Qt::LeftButton);

    QCOMPARE(w.slider(1)->maximum(), 7350);
    QCOMPARE(w.lineEdit(1)->text(), QStringLiteral("777"));
    QCOMPARE(w.slider(1)->value(), 77);
    QCOMPARE(w.slider(2)->maximum(), 900);
    QCOMPARE(w.lineEdit(2)->text(), QStringLiteral("450"));
    QCOMPARE(w.slider(2)->value(), 450);
    QCOMPARE(w.lineEdit(3)->text(), QStringLiteral("30"));
    QCOMPARE(w.slider(3)->value(), 30);
}

void TestMainWindowControls::calibrateAllShowsFailedPositionAsRead()
{
    OperatingWindow w;
    QVERIFY(w.save());
    w.board->maxZoom = 5000;
    w.board->zoomPosition = -1;
    w.showState(1, 7350, 77, QStringLiteral("777"));

    QTest::mouseClick(w.button("pb_calibrateAll"), Qt::LeftButton);

    QCOMPARE(w.slider(1)->maximum(), 5000);
    QCOMPARE(w.lineEdit(1)->text(), QStringLiteral("-1"));
    QCOMPARE(w.slider(1)->value(), 0);
}

void TestMainWindowControls::storeInDevice()
{
    OperatingWindow w;
    QVERIFY(w.save());
    QTest::mouseClick(w.button("pb_storeInDevice"), Qt::LeftButton);
    QCOMPARE(w.board->calls, QStringList{"storeInDevice"});
}

void TestMainWindowControls::nothingReachesAMissingDriver()
{
    OperatingWindow w;
    w.showState(1, 7350, 77, QStringLiteral("777"));
    w.showState(2, 100, 50, QStringLiteral("50"));
    w.showState(3, 100, 50, QStringLiteral("50"));

    // Every operating slot, called the way its widget would call it, with no
    // driver in service: none may touch the missing driver or pause.
    const char *const slotNames[] = {
        "motor1SliderChanged", "motor1LineEditChanged", "motor2SliderChanged",
        "motor2LineEditChanged", "motor3SliderChanged", "motor3LineEditChanged",
        "zoomWideClicked", "zoomTeleClicked", "zoomStopClicked", "focusNearClicked",
        "focusFarClicked", "focusStopClicked", "irisCloseClicked", "irisOpenClicked",
        "irisStopClicked", "refreshClicked", "storeInDeviceClicked", "zoomPlusClicked",
        "zoomMinusClicked", "focusPlusClicked", "focusMinusClicked", "irisPlusClicked",
        "irisMinusClicked", "calibrateAllClicked"};
    QTest::ignoreMessage(QtDebugMsg, "comm not set");
    for (const char *slot : slotNames)
        QVERIFY2(QMetaObject::invokeMethod(w.window.get(), slot), slot);
    for (int n = 1; n <= 10; ++n) {
        QVERIFY(QMetaObject::invokeMethod(w.window.get(), qPrintable(QStringLiteral("storePreset%1Clicked").arg(n))));
        QVERIFY(QMetaObject::invokeMethod(w.window.get(), qPrintable(QStringLiteral("callPreset%1Clicked").arg(n))));
    }

    QCOMPARE(w.board->calls, QStringList{});
    QCOMPARE(w.lineEdit(1)->text(), QStringLiteral("777"));
    QCOMPARE(w.slider(1)->value(), 77);
    QCOMPARE(w.slider(2)->value(), 50);
}

QTEST_MAIN(TestMainWindowControls)
#include "tst_mainwindowcontrols.moc"
