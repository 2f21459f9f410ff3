// The window's motor controls, presets, Calibrate All and Store in device, and the keys and
// slider input that ask for them, over a fake driver.

#include "debugline.h"
#include "fakecontroller.h"
#ifdef TAVRO_GAMEPAD
#include "gamepaddevices.h"
#include "gamepaddialog.h"
#include "gamepadpoller.h"
#include "virtualpad.h"
#endif
#include "keyboardcontrol.h"
#include "lensprofile.h"
#include "lenswindow.h"
#include "operatorreport.h"
#include "pause.h"
#include "sliderinput.h"
#include "startconfig.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestMainWindowControls : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<FakeBoard> m_board;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<QWidget> m_otherWindow;
    // Runs inside the next pause, after the calls are recorded.
    std::function<void()> m_duringPause;
#ifdef TAVRO_GAMEPAD
    // Virtual pads, "Pad 1" first; nullptr once unplugged. They go with the window's SDL.
    std::vector<SDL_Joystick *> m_pads;
    // For the next operate(): gamepad/ keys ("zoom=righty") and the text of gamecontrollerdb.txt beside
    // config.ini.
    QString m_padKeys;
    QByteArray m_mappings;
#endif

    // A shown window in a directory of its own whose config.ini preselects a fresh board on FAKE1;
    // Save (if asked) brings its fake driver into service. Then the motors are set the way the program
    // does: ranges 7350, 4000 and 100, sliders at 1, line edits "2". True if all that sent nothing.
    // stored: "N=value ..." stored as presets/speedN first ("group/key=value": as it says).
    bool operate(BoardType type = BoardType::Tavro, bool save = true, const QString &stored = {})
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_dir->path());
        prepareStart(type, "FAKE1");
        QSettings config("config.ini", QSettings::IniFormat);
        config.setValue("motor/zoomSpeed", 1);
        config.setValue("motor/focusSpeed", 2);
        for (const QString &value : stored.split(' ', Qt::SkipEmptyParts))
            config.setValue((value.contains('/') ? "" : "presets/speed") + value.section('=', 0, 0), value.section('=', 1));
#ifdef TAVRO_GAMEPAD
        for (const QString &key : std::exchange(m_padKeys, {}).split(' ', Qt::SkipEmptyParts))
            config.setValue("gamepad/" + key.section('=', 0, 0), key.section('=', 1));
        if (!m_mappings.isEmpty()) {
            QFile mappings("gamecontrollerdb.txt");
            if (!mappings.open(QIODevice::WriteOnly) || mappings.write(std::exchange(m_mappings, {})) <= 0)
                return false;
        }
#endif
        config.sync();
        m_board = std::make_shared<FakeBoard>();
        m_window = std::make_unique<LensWindow>();
        m_window->setControllerFactory([board = m_board](BoardType, const QString &port) {
            return std::make_unique<FakeController>(port, board);
        }, LensSession::Threading::CallersThread);
        m_window->show();
        if (save)
            act("pb_settingsMultiButton");
        const bool saved = get<QPushButton>("pb_settingsMultiButton")->text() == "Edit Settings";
        const bool ok = save ? saved && !m_board->calls.isEmpty() : !saved;
        m_board->calls.clear();
        for (int motor = 1; motor <= 3; ++motor) {
            slider(motor)->setMaximum(motor == 1 ? 7350 : motor == 2 ? 4000 : 100);
            slider(motor)->setValue(1);
            lineEdit(motor)->setText("2");
        }
        return ok && m_board->calls.isEmpty() && QTest::qWaitForWindowActive(m_window.get());
    }
    // Clicks "pb_name", types "le_motorN text" and Return, or drags "hs_motorN value" and lets go.
    void act(const QString &action)
    {
        const QString name = action.section(' ', 0, 0), argument = action.section(' ', 1);
        if (auto *edit = get<QLineEdit>(name)) {
            edit->setFocus();
            edit->clear();
            QTest::keyClicks(edit, argument);
            QTest::keyClick(edit, Qt::Key_Return);
        } else if (auto *handle = get<QSlider>(name)) {
            handle->setSliderDown(true);
            handle->setValue(argument.toInt());
            QVERIFY2(m_board->calls.isEmpty(), "dragging sends nothing, only the release");
            handle->setSliderDown(false);
        } else {
            QTest::mouseClick(get<QAbstractButton>(name), Qt::LeftButton);
        }
        QTRY_VERIFY(m_window->isIdle());
    }
    // Plays space-separated steps: "@name" gives a widget the focus; "Ctrl+Up" presses keys and
    // lets go, ">Ctrl+Up" only presses, "<Up" only lets go, "*Up" is an auto-repeat as Qt marks it
    // (release and press); "wheel:name:120" turns the wheel over a slider ("wheel:name:120:natural":
    // an inverted one), "groove:name" clicks its groove near the end ("press:name", "release:name":
    // half of it), "drag:name" drags its handle to the middle; "wait" outlasts a slider's settling;
    // "type:name:text" types into a field as act() does ("edit:name:text": without Return); "live"
    // turns live positions on, "track" clicks Lens ▸ Keep focus while zooming; "choose:N" picks entry N
    // of the open menu ("choose:N:M": entry M of its submenu N), "seconds:S" answers the recall time asked
    // for with S; "deactivate", "activate" and "close" do that to the window; "during:<Down" lets the
    // next pause post that release (">": press) while its operation runs ("during:ly=0": a pad step
    // there); "value:name:N" sets a slider to N as a screen reader does; pad steps as pad(); "|" marks
    // the calls; anything else is an act(). Then waits as "wait".
    void play(const QString &script)
    {
        for (const QString &step : script.split(' ', Qt::SkipEmptyParts)) {
            const QStringList part = step.split(':');
            const QKeySequence keys(QString(step).remove(QRegularExpression("^[<>*]")));
            if (step == "|") {
                m_board->calls << step;
            } else if (pad(step)) {
            } else if (step.startsWith('@')) {
                get<QWidget>(step.mid(1))->setFocus();
            } else if (part[0] == "wheel") {
                QWheelEvent wheel({5, 5}, {5, 5}, {}, {0, part[2].toInt()}, Qt::NoButton, {}, Qt::NoScrollPhase,
                                  part.value(3) == "natural");
                QApplication::sendEvent(get<QSlider>(part[1]), &wheel);
            } else if (part[0] == "type") {
                act(part[1] + ' ' + part[2]);
            } else if (part[0] == "edit") {
                get<QLineEdit>(part[1])->setFocus();
                QTest::keyClicks(get<QLineEdit>(part[1]), part[2]);
            } else if (part[0] == "value") {
                QAccessible::queryAccessibleInterface(get<QSlider>(part[1]))->valueInterface()->setCurrentValue(part[2].toInt());
            } else if (step == "live") {
                get<QAction>("action_livePositions")->setChecked(true);
            } else if (step == "track") {
                get<QAction>("action_trackFocus")->trigger();
            } else if (part[0] == "choose") {
                auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                QVERIFY2(menu, "no menu open");
                QAction *entry = menu->actions().at(part[1].toInt());
                (part.size() > 2 ? entry->menu()->actions().at(part[2].toInt()) : entry)->trigger();
                menu->close();
            } else if (part[0] == "seconds") {
                auto *dialog = get<QInputDialog>("presetSecondsDialog");
                QVERIFY2(dialog, "no recall time asked for");
                dialog->setDoubleValue(part[1].toDouble());
                dialog->accept();
            } else if (part[0] == "groove" || part[0] == "press" || part[0] == "release") {
                QSlider *groove = get<QSlider>(part[1]);
                const QPoint end(groove->width() - 3, groove->height() / 2);
                if (part[0] != "release")
                    QTest::mousePress(groove, Qt::LeftButton, {}, end);
                if (part[0] != "press")
                    QTest::mouseRelease(groove, Qt::LeftButton, {}, end);
            } else if (part[0] == "drag") {
                QSlider *handle = get<QSlider>(part[1]);
                QStyleOptionSlider option;
                option.initFrom(handle);
                const QPoint from = handle->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, handle).center();
                QTest::mousePress(handle, Qt::LeftButton, {}, from);
                QTest::mouseMove(handle, handle->rect().center());
                QTest::mouseRelease(handle, Qt::LeftButton, {}, handle->rect().center());
            } else if (step == "wait" || step == "close") {
                step == "wait" ? QTest::qWait(SliderInput::settleMs + 100) : void(m_window->close());
            } else if (step == "deactivate") {
                m_otherWindow = std::make_unique<QWidget>();
                m_otherWindow->show();
                QApplication::setActiveWindow(m_otherWindow.get());
            } else if (step == "activate") {
                QApplication::setActiveWindow(m_window.get());
            } else if (part[0] == "during") {
                // Once: the closure stays alive while it runs.
                m_duringPause = [this, step = part[1], done = false]() mutable {
                    if (std::exchange(done, true) || pad(step))
                        return;
                    const QKeyCombination combination = QKeySequence(step.mid(1))[0];
                    QCoreApplication::postEvent(QApplication::focusWidget(),
                                                new QKeyEvent(step[0] == '<' ? QEvent::KeyRelease : QEvent::KeyPress,
                                                              combination.key(), combination.keyboardModifiers()));
                    QTest::qWait(KeyboardControl::repeatGraceMs * 2);
                };
            } else if (keys.count() == 1 && keys[0].key() != Qt::Key_unknown) {
                const QString order = step[0] == '<' ? "r" : step[0] == '>' ? "p" : step[0] == '*' ? "rp" : "pr";
                for (const QChar type : order) {
                    QKeyEvent key(type == 'p' ? QEvent::KeyPress : QEvent::KeyRelease, keys[0].key(),
                                  keys[0].keyboardModifiers(), QString(), step[0] == '*');
                    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow(), &key);
                }
            } else {
                act(step);
            }
            QTRY_VERIFY(m_window->isIdle());
        }
        QTest::qWait(SliderInput::settleMs + 100);
    }
#ifdef TAVRO_GAMEPAD
    // "plug" attaches a virtual pad, "Pad N"; "unplugN" detaches pad N; "lyN=P" puts a control of pad N
    // (no N: 1) at P: a stick (ly, ry) at P % of its travel up, (lx, rx) right, a trigger (lt, rt) pulled,
    // a button (lb, a, up, start...) down for 1.
    // Then the pads are read. False for other steps.
    bool pad(const QString &step)
    {
        const QStringList buttons{"a", "b", "x", "y", "", "", "start", "", "", "lb", "rb", "up", "down", "left", "right"};
        const auto set = QRegularExpression("^([a-z]+)(\\d?)=(-?\\d+)$").match(step);
        if (step == "plug") {
            m_pads.push_back(plugVirtualPad("Pad " + QByteArray::number(int(m_pads.size()) + 1)));
        } else if (step.startsWith("unplug")) {
            SDL_Joystick *&pad = m_pads[step.mid(6).toInt() - 1];
            for (int device = 0; device < SDL_NumJoysticks(); ++device) {
                if (SDL_JoystickGetDeviceInstanceID(device) == SDL_JoystickInstanceID(pad))
                    SDL_JoystickDetachVirtual(device);
            }
            SDL_JoystickClose(std::exchange(pad, nullptr));
        } else if (set.hasMatch()) {
            SDL_Joystick *pad = m_pads[qMax(1, set.captured(2).toInt()) - 1];
            const int value = set.captured(3).toInt();
            const int axis = QStringList{"lx", "ly", "rx", "ry", "lt", "rt"}.indexOf(set.captured(1));
            if (axis == SDL_CONTROLLER_AXIS_LEFTY || axis == SDL_CONTROLLER_AXIS_RIGHTY)
                pushStick(pad, SDL_GameControllerAxis(axis), value);
            else if (axis >= 0)
                pushAxis(pad, SDL_GameControllerAxis(axis), value);
            else
                SDL_JoystickSetVirtualButton(pad, buttons.indexOf(set.captured(1)), value);
        } else {
            return false;
        }
        m_window->findChild<GamepadPoller *>()->poll();
        return true;
    }
    QString padStatus() const
    {
        const auto *status = m_window->statusBar()->findChild<QLabel *>();
        return status->isVisible() ? status->text() : QString();
    }
#else
    bool pad(const QString &) { return false; }
#endif
    QString calls() const { return m_board->calls.join(' '); }
    // Whether calls are what expected says, each "..." in it standing for anything (reads whose number the
    // timing makes).
    static bool matches(const QString &expected, const QString &calls)
    {
        const QString pattern = QRegularExpression::escape(expected).replace(QRegularExpression::escape("..."), ".*");
        return QRegularExpression('^' + pattern + '$').match(calls).hasMatch();
    }
    // "text/slider value" of each motor.
    QString state(int m) const { return lineEdit(m)->text() + '/' + QString::number(slider(m)->value()); }
    QString state() const { return state(1) + ' ' + state(2) + ' ' + state(3); }
    template<typename T> T *get(const QString &name) const { return m_window->findChild<T *>(name); }
    QSlider *slider(int motor) const { return get<QSlider>(QString("hs_motor%1").arg(motor)); }
    QLineEdit *lineEdit(int motor) const { return get<QLineEdit>(QString("le_motor%1").arg(motor)); }
    // The lens's units beside zoom, focus and iris, and the angle of view: "6.8 mm||f/1.8|HFOV 45.9°".
    QString units() const
    {
        QStringList texts;
        for (const char *name : {"lbl_zoomUnits", "lbl_focusUnits", "lbl_irisUnits", "lbl_angleOfView"})
            texts << get<QLabel>(name)->text();
        return texts.join('|');
    }

private slots:
    // Pauses and operator reports land in the board's call log.
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("TAVRO_EXTRA_PORTS", "FAKE1");
        Pause::setFunction([this](unsigned long ms) {
            m_board->calls << QString("pause(%1)").arg(ms);
            if (m_duringPause)
                m_duringPause();
        });
        OperatorReport::setReporter([this](OperatorReport::Severity, const QString &text) { m_board->calls << text; });
    }
#ifdef TAVRO_GAMEPAD
    // A pad may be there, so the window's SDL starts and holds the virtual pads.
    void init() { GamepadDevices::setCheck([] { return true; }); }
#endif
    void cleanup()
    {
#ifdef TAVRO_GAMEPAD
        m_pads.clear();
        GamepadDevices::setCheck({});
#endif
        m_window.reset();
        m_otherWindow.reset();
        m_duringPause = nullptr;
    }

    // From the state operate() sets, with every board position at the number after a button.
    // The focus goes to the slider of the motor in the last column (0: unchecked).
    void controls_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<int>("focus");
        const QString same = "2/1 2/1 2/1";
        // A typed position goes out once without a pause; the slider takes the focus. A number
        // beyond the range goes out, and shows, as the end of the range.
        QTest::newRow("zoom abc") << "le_motor1 abc" << "1/1 2/1 2/1" << "" << 0;
        QTest::newRow("zoom -5") << "le_motor1 -5" << "0/0 2/1 2/1" << "setZoomPosition(0)" << 1;
        QTest::newRow("zoom 0042") << "le_motor1 0042" << "42/42 2/1 2/1" << "setZoomPosition(42)" << 1;
        QTest::newRow("zoom 9000") << "le_motor1 9000" << "7350/7350 2/1 2/1" << "setZoomPosition(7350)" << 1;
        // Text that is not a number, or too large for one, sends nothing and shows the slider again.
        QTest::newRow("focus 12x") << "le_motor2 12x" << "2/1 1/1 2/1" << "" << 0;
        QTest::newRow("focus 0042") << "le_motor2 0042" << "2/1 42/42 2/1" << "setFocusPosition(42)" << 2;
        QTest::newRow("iris 99999999999") << "le_motor3 99999999999" << "2/1 2/1 1/1" << "" << 0;
        QTest::newRow("iris 0042") << "le_motor3 0042" << "2/1 2/1 42/42" << "setIrisPosition(2310)" << 3;
        QTest::newRow("iris 150") << "le_motor3 150" << "2/1 2/1 100/100" << "setIrisPosition(5500)" << 3;
        // A released slider sends and gives the board time.
        QTest::newRow("drag zoom") << "hs_motor1 3000" << "3000/3000 2/1 2/1" << "setZoomPosition(3000) pause(500)" << 0;
        QTest::newRow("drag focus") << "hs_motor2 250" << "2/1 250/250 2/1" << "setFocusPosition(250) pause(500)" << 0;
        QTest::newRow("drag iris") << "hs_motor3 7" << "2/1 2/1 7/7" << "setIrisPosition(385) pause(500)" << 0;
        // A step is a hundredth of the range and is sent like a released slider.
        QTest::newRow("zoom -") << "pb_zoomMinus" << "0/0 2/1 2/1" << "setZoomPosition(0) pause(500)" << 0;
        QTest::newRow("focus +") << "pb_focusPlus" << "2/1 41/41 2/1" << "setFocusPosition(41) pause(500)" << 0;
        QTest::newRow("iris -") << "pb_irisMinus" << "2/1 2/1 0/0" << "setIrisPosition(0) pause(500)" << 0;
        QTest::newRow("Wide") << "pb_zoomWide" << same << "pelco_d_zoom_out" << 1;
        QTest::newRow("Tele") << "pb_zoomTele" << same << "pelco_d_zoom_in" << 1;
        QTest::newRow("Near") << "pb_focusNear" << same << "pelco_d_focus_near" << 2;
        QTest::newRow("Far") << "pb_focusFar" << same << "pelco_d_focus_far" << 2;
        QTest::newRow("Close") << "pb_irisClose" << same << "pelco_d_iris_close" << 3;
        QTest::newRow("Open") << "pb_irisOpen" << same << "pelco_d_iris_open" << 3;
        const QString zoom = "pelco_d_zoom_stop getZoomPosition", focus = "pelco_d_focus_stop getFocusPosition",
                      iris = "pelco_d_iris_stop getIrisPosition";
        QTest::newRow("zoom stop 8000") << "pb_zoomStop 8000" << "8000/7350 2/1 2/1" << zoom << 1;
        QTest::newRow("zoom stop failed") << "pb_zoomStop -1" << same << zoom << 1;
        QTest::newRow("focus stop 321") << "pb_focusStop 321" << "2/1 321/321 2/1" << focus << 2;
        QTest::newRow("focus stop failed") << "pb_focusStop -1" << "2/1 0/0 2/1" << focus << 2;
        QTest::newRow("iris stop 5499") << "pb_irisStop 5499" << "2/1 2/1 99/99" << iris << 3;
        QTest::newRow("iris stop -1") << "pb_irisStop -1" << same << iris << 3;
        QTest::newRow("iris stop -55") << "pb_irisStop -55" << same << iris << 3;
        const QString refresh = "getFocusPosition getZoomPosition getIrisPosition";
        QTest::newRow("refresh 2750") << "pb_refresh 2750" << "2750/2750 2750/2750 50/50" << refresh << 0;
        QTest::newRow("refresh failed") << "pb_refresh -1" << same << refresh << 0;
        // Told once, however many of the reads fail.
        QTest::newRow("refresh, port gone") << "pb_refresh gone" << same
            << refresh + " Could not open serial port: FAKE1\nCheck that the port is not used by another application." << 0;
        // The preset number itself reaches the driver, not its digit.
        for (int n = 1; n <= 10; ++n) {
            QTest::addRow("Set %d", n) << QString("pb_storePreset%1").arg(n) << same << QString("storePreset(%1) getZoomPosition getFocusPosition getIrisPosition").arg(n) << 0;
            QTest::addRow("Call %d", n) << QString("pb_callPreset%1").arg(n) << same << QString("callPreset(%1)").arg(n) << 0;
        }
        QTest::newRow("Store in device") << "pb_storeInDevice" << same << "storeInDevice" << 0;
    }
    void controls()
    {
        QFETCH(QString, action);
        QFETCH(int, focus);
        QVERIFY(operate());
        m_board->zoomPosition = m_board->focusPosition = m_board->irisPosition = action.section(' ', 1).toInt();
        m_board->portGone = action.endsWith(" gone");
        const bool number = action.contains(QRegularExpression("^le_motor\\d -?\\d{1,9}$"));
        if (action.startsWith("le_motor") && !number)
            EXPECT_DEBUG_LINE("wrong input");
        if (action.startsWith("le_motor1") && number)
            EXPECT_DEBUG_LINE("all digits");
        if (action.startsWith("hs_motor1"))
            EXPECT_DEBUG_LINE("motor1SliderChanged()");
        act(action);
        QTEST(state(), "state");
        QTEST(calls(), "calls");
        if (focus)
            QVERIFY(slider(focus)->hasFocus());
    }

    // At the ends of the range a step sends the end again; below a range of 100 it is 1.
    void stepsAtTheEnds()
    {
        QVERIFY(operate());
        slider(1)->setValue(7300);
        slider(2)->setMaximum(60);
        slider(2)->setValue(30);
        slider(3)->setValue(100);
        for (const char *button : {"pb_zoomPlus", "pb_focusPlus", "pb_focusMinus", "pb_irisPlus"})
            act(button);
        QCOMPARE(calls(), "setZoomPosition(7350) pause(500) setFocusPosition(31) pause(500) "
                          "setFocusPosition(30) pause(500) setIrisPosition(5500) pause(500)");
        QCOMPARE(state(), "7350/7350 30/30 100/100");
    }

    // The Pellan driver answers 0 for the motors its board does not have.
    void refreshWithPellanBoard()
    {
        QVERIFY(operate(BoardType::Pellan));
        m_board->focusPosition = 1500;
        act("pb_refresh");
        QCOMPARE(state(), "0/0 1500/1500 0/0");
    }

    // The board calibrates on its own: nothing is read before the wait. The iris
    // gets the range 0..100 without being asked and is shown on the slider's scale.
    void calibrateAll()
    {
        QVERIFY(operate());
        slider(3)->setMaximum(55);
        *m_board = {{}, 6000, 950, 2750, 5000, 900}; // positions zoom, focus, iris; maxima zoom, focus
        act("pb_calibrateAll");
        QCOMPARE(calls(), "calibrateAll pause(8000) getZoomPosition getFocusPosition getIrisPosition "
                          "getMaxZoomPosition getMaxFocusPosition");
        QCOMPARE(state(), "6000/5000 950/900 50/50"); // zoom and focus end at their new maxima
        *m_board = {{}, 7, 850, -1, -1, 800}; // failed zoom maximum and iris read: both left alone
        act("pb_calibrateAll");
        QCOMPARE(state(), "6000/5000 850/800 50/50");
        *m_board = {{}, -1, 10, 5499, 5000, 900}; // a failed position with a valid maximum shows as read
        act("pb_calibrateAll");
        QCOMPARE(state(), "-1/0 10/10 99/99");
    }

    // Destroying the shown window takes the focus from the line edit during the teardown.
    void closingWithAnUnfinishedEntrySendsNothing()
    {
        QVERIFY(operate());
        lineEdit(2)->setFocus();
        QTest::keyClicks(lineEdit(2), "123");
        QVERIFY(lineEdit(2)->hasFocus());
        m_window.reset();
        QCOMPARE(calls(), QString());
    }

    // Hold keys run a motor as its button does, once, and stop it as its STOP does when let go,
    // whatever stands in the way; preset and refresh keys do as their buttons; none works where
    // its button is disabled.
    void keys_data()
    {
        QTest::addColumn<int>("board");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("calls");
        const QString zoom = " pelco_d_zoom_stop getZoomPosition", focus = " pelco_d_focus_stop getFocusPosition",
                      iris = " pelco_d_iris_stop getIrisPosition";
        const struct { const char *key, *run; QString stop; } holds[] = {
            {"Up", "pelco_d_zoom_in", zoom}, {"Down", "pelco_d_zoom_out", zoom},
            {"Right", "pelco_d_focus_far", focus}, {"Left", "pelco_d_focus_near", focus},
            {"PgUp", "pelco_d_iris_open", iris}, {"PgDown", "pelco_d_iris_close", iris}};
        for (const auto &hold : holds)
            QTest::addRow("Ctrl+%s", hold.key) << 1 << QString(">Ctrl+%1 <%1").arg(hold.key) << hold.run + hold.stop;
        QTest::newRow("keypad Ctrl+Up") << 1 << ">Ctrl+Num+Up <Num+Up" << "pelco_d_zoom_in" + zoom;
        QTest::newRow("auto-repeat marked") << 1 << ">Ctrl+Down *Ctrl+Down *Ctrl+Down <Down" << "pelco_d_zoom_out" + zoom;
        QTest::newRow("auto-repeat unmarked") << 1 << ">Ctrl+Down <Down >Ctrl+Down <Down >Ctrl+Down <Down"
                                              << "pelco_d_zoom_out" + zoom;
        // Repeats without Ctrl would otherwise step the slider that took the focus.
        QTest::newRow("Ctrl let go first") << 1 << ">Ctrl+Down *Down <Down" << "pelco_d_zoom_out" + zoom;
        QTest::newRow("other key, same motor") << 1 << ">Ctrl+Down >Ctrl+Up <Up <Down" << "pelco_d_zoom_out" + zoom;
        // The entry goes out as the slider takes the focus, as with a click on the button, and the
        // run, the newer move of the motor, takes its place.
        QTest::newRow("from a line edit") << 1 << "@le_motor2 >Ctrl+Left <Left" << "pelco_d_focus_near" + focus;
        // Keys that go to another window are not the window's.
        QTest::newRow("deactivated") << 1 << ">Ctrl+Up deactivate >Ctrl+Down activate >Ctrl+Up <Up"
                                     << "pelco_d_zoom_in" + zoom + " pelco_d_zoom_in" + zoom;
        QTest::newRow("closed") << 1 << ">Ctrl+Right close" << "pelco_d_focus_far" + focus;
        QTest::newRow("closed, button run") << 1 << "pb_irisOpen close" << "pelco_d_iris_open" + iris;
        QTest::newRow("Edit Settings, button runs") << 1 << "pb_zoomTele pb_irisOpen pb_settingsMultiButton"
                                                    << "pelco_d_zoom_in pelco_d_iris_open" + zoom + iris;
        QTest::newRow("Edit Settings, Pellan") << 2 << "pb_focusFar pb_settingsMultiButton" << "pelco_d_focus_far" + focus;
        QTest::newRow("let go during a step") << 1 << ">Ctrl+Down during:<Down pb_zoomPlus"
                                              << "pelco_d_zoom_out setZoomPosition(74) pause(500)" + zoom;
        // A step keeps nothing waiting: a press while it settles runs the motor after it, once.
        QTest::newRow("pressed during a step") << 1 << "during:>Ctrl+Down pb_zoomPlus *Ctrl+Down *Ctrl+Down <Down"
                                               << "setZoomPosition(74) pause(500) pelco_d_zoom_out" + zoom;
        QTest::newRow("presets, refresh") << 1 << "F1 F10 Shift+F9 Shift+F8 *F2 >F3 <F3 >F3 <F3 Ctrl+R"
                                          << "callPreset(1) callPreset(10) storePreset(9) getZoomPosition getFocusPosition "
                                             "getIrisPosition storePreset(8) getZoomPosition getFocusPosition getIrisPosition "
                                             "callPreset(3) getFocusPosition getZoomPosition getIrisPosition";
        QTest::newRow("editing settings") << 1 << "pb_settingsMultiButton >Ctrl+Up <Up F1 Shift+F1 Ctrl+R" << "";
        QTest::newRow("Pellan") << 2 << ">Ctrl+Left <Left wait >Ctrl+Right <Right wait >Ctrl+Up <Up >Ctrl+PgDown <PgDown"
                                << "pelco_d_focus_near" + focus + " pelco_d_focus_far" + focus;
    }
    void keys()
    {
        QFETCH(int, board);
        QFETCH(QString, script);
        QVERIFY(operate(BoardType(board)));
        play(script);
        QTEST(calls(), "calls");
    }

    // A preset at a speed of its own (stored as 0 panel, 1 low, 2 medium, 3 high; anything else is
    // the panel's) leaves the panel's speeds (zoom 1, focus 2) to go out before the next run, step or
    // move of each motor, or a preset at the panel's speeds; the menu on a Call button (Call 10's too)
    // keeps the choice ("kept": preset=value).
    void presetSpeeds_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QString>("kept");
        QTest::newRow("high, runs") << "2=3" << "pb_callPreset2 | pb_irisOpen pb_zoomTele pb_focusFar pb_zoomWide"
                                    << "callPresetAtSpeed(2,2) | pelco_d_iris_open setZoomSpeed(1) pelco_d_zoom_in "
                                       "setFocusSpeed(2) pelco_d_focus_far pelco_d_zoom_out" << "2=3";
        QTest::newRow("low, step and moves") << "2=1" << "F2 | pb_focusPlus type:le_motor1:5 @hs_motor3 End wait type:le_motor2:9"
                                             << "callPresetAtSpeed(2,0) | setFocusSpeed(2) setFocusPosition(41) pause(500) "
                                                "setZoomSpeed(1) setZoomPosition(5) setIrisPosition(5500) pause(500) "
                                                "setFocusPosition(9)"
                                             << "2=1";
        QTest::newRow("panel preset after") << "2=2" << "pb_callPreset2 | pb_callPreset1 pb_zoomTele"
                                            << "callPresetAtSpeed(2,1) | setZoomSpeed(1) setFocusSpeed(2) callPreset(1) "
                                               "pelco_d_zoom_in" << "2=2";
        QTest::newRow("unreadable values") << "1=4 2=-1 3=high 4= 5=2 presets/seconds3=900 presets/seconds4=x presets/seconds5=10"
                                           << "F1 F2 F3 F4 F5 pb_zoomTele"
                                           << "callPreset(1) callPreset(2) callPreset(3) callPreset(4) "
                                              "callPresetAtSpeed(5,1) setZoomSpeed(1) pelco_d_zoom_in" << "2=-1";
        QTest::newRow("Shift+F10 menu, Call 10") << "" << "@pb_callPreset10 Shift+F10 choose:3 F10" << "callPresetAtSpeed(10,2)"
                                                 << "10=3";
        QTest::newRow("menu key, panel") << "2=1" << "@pb_callPreset2 Menu choose:0 F2" << "callPreset(2)" << "2=0";
        // A recall time (presets/secondsN) and a speed exclude each other. A timed call reads where the
        // motors are, then steers them to the preset's recorded positions by speed and goto.
        const QString profile = "lens/profile/tavro=" TAVRO_PROFILES "/tavro-18x.json ";
        const QString noProfile = "Preset 2 is not recalled in %1 s: a recall time needs a lens profile with the motors' "
                                  "measured speeds, and no profile is in use (Lens ▸ Profile…).";
        QTest::newRow("time, no profile") << "presets/seconds2=5" << "F2" << noProfile.arg(5) << "2=,5";
        QTest::newRow("menu time ends the speed") << "2=3" << "@pb_callPreset2 Menu choose:5:2 F2" << noProfile.arg(5) << "2=0,5";
        QTest::newRow("menu speed ends the time") << "presets/seconds2=5" << "@pb_callPreset2 Menu choose:3 F2"
                                                  << "callPresetAtSpeed(2,2)" << "2=3,0";
        QTest::newRow("custom time") << "" << "@pb_callPreset2 Menu choose:5:4 seconds:7.5 F2" << noProfile.arg(7.5) << "2=0,7.5";
        // "...": the reads that steer, as many as the timing makes. Stored at focus 0, beneath the
        // profile's focus limit, the preset goes to the limit and says so.
        const QString beneathFocusLimit = "Preset 2 lies beyond the focus's limit 300: it was recalled to the limit.";
        const QString stored = "storePreset(2) getZoomPosition getFocusPosition getIrisPosition setZoomPosition(0) | "
                               "getZoomPosition getMaxZoomPosition getFocusPosition getMaxFocusPosition getIrisPosition "
                               "getMaxIrisPosition ";
        QTest::newRow("timed") << profile + "presets/seconds2=5" << "type:le_motor1:3000 pb_storePreset2 type:le_motor1:0 | F2"
                               << "setZoomPosition(3000) " + stored + "setZoomSpeed(0) setZoomPosition(3000) ... "
                                  "[Preset 2 arrives in 5.0 s. " + beneathFocusLimit + ']' << "2=,5";
        QTest::newRow("lengthened") << profile + "presets/seconds2=0.5" << "type:le_motor1:7350 pb_storePreset2 type:le_motor1:0 | F2"
                                    << "setZoomPosition(7350) " + stored + "setZoomSpeed(1) setZoomPosition(7350) ... "
                                       "[Preset 2 takes 1.9 s: the motors cannot make it sooner. " + beneathFocusLimit + ']'
                                    << "2=,0.5";
        QTest::newRow("never stored here") << profile + "presets/seconds2=5" << "F2"
                                           << "callPreset(2) [Preset 2 was recalled at the board's own speed: it was never "
                                              "stored from this computer.]" << "2=,5";
    }
    void presetSpeeds()
    {
        QFETCH(QString, stored);
        QFETCH(QString, script);
        // Where a preset lies is known from this run's stores alone.
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Corvane", "Tavro Lens Controller").remove("recordedPresets");
        QVERIFY(operate(BoardType::Tavro, true, stored));
        m_board->gotosArrive = true;
        play(script);
        QFETCH(QString, calls);
        const QString told = m_window->statusBar()->currentMessage();
        const QString actual = this->calls() + (told.isEmpty() ? "" : " [" + told + ']');
        QVERIFY2(matches(calls, actual), qPrintable(actual));
        QFETCH(QString, kept);
        const QString preset = kept.section('=', 0, 0), value = kept.section('=', 1).section(',', 0, 0);
        const double seconds = kept.section(',', 1).toDouble();
        QSettings config("config.ini", QSettings::IniFormat);
        QCOMPARE(config.value("presets/speed" + preset).toString(), value);
        QCOMPARE(config.value("presets/seconds" + preset).toDouble(), seconds);
        const QString name = seconds > 0 ? QString::number(seconds) + " s"
                                         : QStringList{"Panel speed", "Low", "Medium", "High"}.value(value.toInt(), "Panel speed");
        QVERIFY(get<QPushButton>("pb_callPreset" + preset)->toolTip().contains(name));
        QVERIFY(get<QPushButton>("pb_callPreset" + preset)->accessibleDescription().endsWith(name));
    }

    // Keys, wheel and groove clicks move a slider by a hundredth of its range (a page: ten), and
    // once the move has settled and no key is held, the value shown goes out once. Values the
    // program shows send nothing.
    void sliderInput_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("calls");
        QTest::newRow("End, five Left") << "@hs_motor1 End wait Left Left Left Left Left" << "6985/6985 2/1 2/1"
                                        << "setZoomPosition(7350) pause(500) setZoomPosition(6985) pause(500)";
        QTest::newRow("Right held") << "@hs_motor1 >Right wait *Right <Right >Right <Right" << "220/220 2/1 2/1"
                                    << "setZoomPosition(220) pause(500)";
        QTest::newRow("Page Up") << "@hs_motor2 PgUp" << "2/1 401/401 2/1" << "setFocusPosition(401) pause(500)";
        QTest::newRow("Home") << "@hs_motor3 Home" << "2/1 2/1 0/0" << "setIrisPosition(0) pause(500)";
        QTest::newRow("three notches") << "wheel:hs_motor2:120 wheel:hs_motor2:120 wheel:hs_motor2:120" << "2/1 121/121 2/1"
                                       << "setFocusPosition(121) pause(500)";
        QTest::newRow("two half notches") << "wheel:hs_motor2:-60 wheel:hs_motor2:-60 @hs_motor2 End" << "2/1 4000/4000 2/1"
                                          << "setFocusPosition(4000) pause(500)";
        QTest::newRow("natural notch") << "wheel:hs_motor2:-120:natural" << "2/1 41/41 2/1" << "setFocusPosition(41) pause(500)";
        QTest::newRow("wheel, disabled") << "pb_settingsMultiButton wheel:hs_motor2:120" << "2/1 2/1 2/1" << "";
        QTest::newRow("groove") << "groove:hs_motor3" << "2/1 2/1 11/11" << "setIrisPosition(605) pause(500)";
        QTest::newRow("groove held") << "press:hs_motor3 wait | release:hs_motor3" << "2/1 2/1 11/11"
                                     << "| setIrisPosition(605) pause(500)";
        QTest::newRow("handle") << "drag:hs_motor1" << "3675/3675 2/1 2/1" << "setZoomPosition(3675) pause(500)";
        QTest::newRow("screen reader") << "value:hs_motor1:3000" << "3000/3000 2/1 2/1" << "setZoomPosition(3000) pause(500)";
        QTest::newRow("screen reader, disabled") << "pb_settingsMultiButton value:hs_motor2:250" << "2/1 2/1 2/1" << "";
        QTest::newRow("shown") << "pb_zoomStop pb_refresh" << "0/0 0/0 0/0"
                               << "pelco_d_zoom_stop getZoomPosition getFocusPosition getZoomPosition getIrisPosition";
    }
    void sliderInput()
    {
        QFETCH(QString, script);
        QVERIFY(operate());
        play(script);
        QTEST(state(), "state");
        QTEST(calls(), "calls");
    }

    // A run button's name tells the key that runs its motor while held: that key runs it.
    void runButtonNames_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("run");
        QTest::newRow("Wide") << "pb_zoomWide" << "pelco_d_zoom_out";
        QTest::newRow("Tele") << "pb_zoomTele" << "pelco_d_zoom_in";
        QTest::newRow("Near") << "pb_focusNear" << "pelco_d_focus_near";
        QTest::newRow("Far") << "pb_focusFar" << "pelco_d_focus_far";
        QTest::newRow("Close") << "pb_irisClose" << "pelco_d_iris_close";
        QTest::newRow("Open") << "pb_irisOpen" << "pelco_d_iris_open";
    }
    void runButtonNames()
    {
        QFETCH(QString, button);
        QVERIFY(operate());
        const QString name = get<QPushButton>(button)->accessibleName();
        const auto hold = QRegularExpression(R"(\(hold ((.+\+)?(.+))\)$)").match(name);
        QVERIFY2(hold.hasMatch(), qPrintable(name));
        play('>' + hold.captured(1) + " <" + hold.captured(3));
        QTEST(calls().section(' ', 0, 0), "run");
    }

    // Live positions show what the board reads (0 here) while a motor runs, several in turn, but
    // never over a number being typed or a slider being stepped; the option is kept for the next start.
    void liveReads_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("state");
        QTest::newRow("shown") << "" << "live pb_zoomTele wait" << "0/0 2/1 2/1";
        QTest::newRow("two motors in turn") << "" << "live pb_zoomTele pb_irisClose wait" << "0/0 2/1 0/0";
        QTest::newRow("on from the last run") << "view/livePositions=true" << "pb_focusNear wait" << "2/1 0/0 2/1";
        QTest::newRow("field typed in") << "" << "live pb_zoomTele edit:le_motor1:99 wait" << "299/1 2/1 2/1";
        QTest::newRow("slider key held") << "" << "live pb_zoomTele @hs_motor1 >Right wait" << "2/74 2/1 2/1";
    }
    void liveReads()
    {
        QFETCH(QString, stored);
        QFETCH(QString, script);
        QVERIFY(operate(BoardType::Tavro, true, stored));
        play(script);
        QTEST(state(), "state");
    }

#ifdef TAVRO_GAMEPAD
    // A pad plugged in after the window drives as its table says: a stick's run is held at the speed of
    // its deflection, then the panel's speed (zoom 1, focus 2) goes back; nothing while the window is
    // inactive, in editing mode or busy, and a stick pushed then, or whose run ended otherwise, first
    // comes back. A second pad waits for the first to go.
    void gamepad_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QString>("status");
        const QString zoom = " pelco_d_zoom_stop getZoomPosition setZoomSpeed(1)", pad1 = "Gamepad: Pad 1",
                      focus = " pelco_d_focus_stop getFocusPosition setFocusSpeed(2)";
        QTest::newRow("left stick") << "ly=60 ly=95 ly=0" << "setZoomSpeed(1) pelco_d_zoom_in setZoomSpeed(2) pelco_d_zoom_in" + zoom << pad1;
        QTest::newRow("left stick down") << "ly=-30 ly=0" << "setZoomSpeed(0) pelco_d_zoom_out" + zoom << pad1;
        // The run the other way takes the place of the stop still waiting.
        QTest::newRow("right stick, over") << "ry=90 ry=-90 ry=0"
                                           << "setFocusSpeed(2) pelco_d_focus_far setFocusSpeed(2) pelco_d_focus_near" + focus << pad1;
        QTest::newRow("shoulders") << "rb=1 rb=0 lb=1 lb=0"
                                   << "pelco_d_iris_open pelco_d_iris_stop getIrisPosition pelco_d_iris_close pelco_d_iris_stop getIrisPosition" << pad1;
        QTest::newRow("A B X Y") << "a=1 a=0 b=1 b=0 x=1 x=0 y=1 y=0" << "callPreset(1) callPreset(2) callPreset(3) callPreset(4)" << pad1;
        QTest::newRow("D-pad") << "up=1 up=0 down=1 down=0 right=1 right=0 left=1 left=0"
                               << "setZoomPosition(74) pause(500) setZoomPosition(1) pause(500) setFocusPosition(41) pause(500) "
                                  "setFocusPosition(1) pause(500)" << pad1;
        QTest::newRow("Start") << "start=1 start=0" << "getFocusPosition getZoomPosition getIrisPosition" << pad1;
        QTest::newRow("dead zone") << "ly=24 ry=-24 ly=0" << "" << pad1;
        QTest::newRow("bands") << "ly=26 | ly=49 | ly=51 | ly=85 | ly=86 | ly=100 | ly=0"
                               << "setZoomSpeed(0) pelco_d_zoom_in | | setZoomSpeed(1) pelco_d_zoom_in | | "
                                  "setZoomSpeed(2) pelco_d_zoom_in | |" + zoom << pad1;
        QTest::newRow("unplugged") << "ry=60 unplug1" << "setFocusSpeed(1) pelco_d_focus_far" + focus << "";
        QTest::newRow("deactivated") << "ly=95 deactivate ry=60 activate ly=96 ry=61 ly=0 ry=0 ly=30"
                                     << "setZoomSpeed(2) pelco_d_zoom_in" + zoom + " setZoomSpeed(0) pelco_d_zoom_in" << pad1;
        QTest::newRow("STOP clicked") << "ly=60 pb_zoomStop ly=90 ly=0 ly=40"
                                      << "setZoomSpeed(1) pelco_d_zoom_in" + zoom + " setZoomSpeed(0) pelco_d_zoom_in" << pad1;
        // The step takes over from the run: nothing is left to stop.
        QTest::newRow("let go during a step") << "ly=60 during:ly=0 pb_zoomPlus"
                                              << "setZoomSpeed(1) pelco_d_zoom_in setZoomPosition(74) pause(500) setZoomSpeed(1)"
                                              << pad1;
        // A step keeps nothing waiting: the stick drives while it settles.
        QTest::newRow("pushed during a step") << "during:ry=60 pb_zoomPlus ry=70 ry=0 ry=30"
                                              << "setZoomPosition(74) pause(500) setFocusSpeed(1) pelco_d_focus_far" + focus
                                                     + " setFocusSpeed(0) pelco_d_focus_far" << pad1;
        // The pad's own step: the stick counts once it is over.
        QTest::newRow("pushed during a pad step") << "during:ry=60 up=1 ry=70"
                                                  << "setZoomPosition(74) pause(500) setFocusSpeed(1) pelco_d_focus_far" << pad1;
        QTest::newRow("editing settings") << "pb_settingsMultiButton ly=60 rb=1 a=1 up=1 start=1" << "" << pad1;
        QTest::newRow("second pad") << "plug ly2=60 ly=30 unplug1 ly2=70 ly2=0 ly2=30"
                                    << "setZoomSpeed(0) pelco_d_zoom_in" + zoom + " setZoomSpeed(0) pelco_d_zoom_in" << "Gamepad: Pad 2";
        QTest::newRow("second pad taken with A down") << "plug a2=1 unplug1 a2=1 a2=0 a2=1 a2=0" << "callPreset(1)"
                                                      << "Gamepad: Pad 2";
    }
    void gamepad()
    {
        QFETCH(QString, script);
        QVERIFY(operate());
        play("plug " + script);
        QTEST(calls(), "calls");
        QTEST(padStatus(), "status");
    }
    // The pad driving is read every 20 ms, the second one too once the first has gone.
    void gamepadReadings_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("one pad") << "plug";
        QTest::newRow("second pad after the first") << "plug plug unplug1";
    }
    void gamepadReadings()
    {
        QFETCH(QString, script);
        QVERIFY(operate());
        play(script);
        QSignalSpy readings(m_window->findChild<GamepadPoller *>(), &GamepadPoller::padRead);
        QTest::qWait(400);
        // Timers run late on a loaded machine, never early.
        QVERIFY2(readings.count() >= 10 && readings.count() <= 21, qPrintable(QString::number(readings.count())));
    }
    // SDL starts only once a pad may be there, and a pad plugged in later is taken as soon as the
    // system's devices tell so. The suite's own SDL holds the virtual pad meanwhile.
    void gamepadPlugged_data()
    {
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<bool>("later");
        QTest::addColumn<QString>("status");
        QTest::newRow("no pad") << false << false << "";
        QTest::newRow("plugged later") << false << true << "Gamepad: Pad 1";
        QTest::newRow("there at start") << true << false << "Gamepad: Pad 1";
    }
    void gamepadPlugged()
    {
        QFETCH(bool, atStart);
        QFETCH(bool, later);
        QVERIFY(SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0);
        bool mayBeThere = atStart;
        GamepadDevices::setCheck([&mayBeThere] { return mayBeThere; });
        SDL_Joystick *pad = atStart ? plugVirtualPad("Pad 1") : nullptr;
        QVERIFY(operate());
        QCOMPARE(SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0, atStart);
        if (later) {
            pad = plugVirtualPad("Pad 1");
            mayBeThere = true;
            m_window->findChild<GamepadDevices *>()->look();
            QCoreApplication::processEvents();
        }
        const QString status = padStatus();
        m_window.reset();
        // The last of SDL's joystick users takes the virtual pad along.
        if (pad)
            SDL_JoystickClose(pad);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        QTEST(status, "status");
    }

    // Devices as the kernel lists them: a name in /dev/input, and for an event device the key
    // capabilities in its class folder (after '=', words of 64 bits).
    void gamepadDevices_data()
    {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<bool>("pad");
        QTest::newRow("js0") << QStringList{"mouse0", "js0"} << true;
        QTest::newRow("Xbox pad 7cdb000000000000 0 0 0 0") << QStringList{"event3=7cdb000000000000 0 0 0 0"} << true;
        QTest::newRow("flight stick fff00000000 0 0 0 0") << QStringList{"event5=fff00000000 0 0 0 0"} << true;
        QTest::newRow("keyboard, mouse, touchpad")
            << QStringList{"event0=1000000000007 ff9f207ac14057ff febeffdfffefffff fffffffffffffffe",
                           "event1=1f0000 0 0 0 0", "event2=6420 30000 0 0 0 0", "mouse0"} << false;
        QTest::newRow("no capabilities") << QStringList{"event7"} << false;
    }
    void gamepadDevices()
    {
        QFETCH(QStringList, devices);
        QTemporaryDir folder;
        QDir(folder.path()).mkdir("input");
        for (const QString &device : devices) {
            const QString name = device.section('=', 0, 0);
            QFile(folder.filePath("input/" + name)).open(QIODevice::WriteOnly);
            if (device.contains('=')) {
                QDir(folder.path()).mkpath("class/" + name + "/device/capabilities");
                QFile key(folder.filePath("class/" + name + "/device/capabilities/key"));
                QVERIFY(key.open(QIODevice::WriteOnly));
                key.write(device.section('=', 1).toLatin1() + '\n');
            }
        }
        QTEST(GamepadDevices::padIn(folder.filePath("input"), folder.filePath("class")), "pad");
    }

    // A layout of the operator's, read at start, drives the lens and is what Help lists; a release,
    // unplugging and deactivation stop, and an axis comes back after an operation, as with the default.
    void gamepadLayout_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QString>("help");
        const QString zoom = " pelco_d_zoom_stop getZoomPosition setZoomSpeed(1)",
                      focus = " pelco_d_focus_stop getFocusPosition setFocusSpeed(2)";
        QTest::newRow("zoom on the right stick, inverted")
            << "zoom=righty zoomInverted=true focus=lefty" << "ry=60 ry=0 ly=-30 ly=0"
            << "setZoomSpeed(1) pelco_d_zoom_out" + zoom + " setFocusSpeed(0) pelco_d_focus_near" + focus
            << "<b>Right stick down / up</b></td><td>Zoom tele / wide";
        QTest::newRow("zoom on a trigger") << "zoom=righttrigger" << "rt=90 rt=0 ly=90"
                                           << "setZoomSpeed(2) pelco_d_zoom_in" + zoom << "<b>Right trigger</b>";
        QTest::newRow("iris on a stick") << "iris=leftx irisOpen=none" << "lx=-60 lx=0 rb=1 rb=0"
                                         << "pelco_d_iris_close pelco_d_iris_stop getIrisPosition"
                                         << "<b>Left stick right / left</b></td><td>Iris open / close";
        QTest::newRow("rebound buttons") << "preset3=start refresh=x preset7=dpup zoomPlus=none"
                                         << "start=1 start=0 x=1 x=0 up=1 up=0"
                                         << "callPreset(3) getFocusPosition getZoomPosition getIrisPosition callPreset(7)"
                                         << "<b>D-pad up</b></td><td>Call preset 7";
        QTest::newRow("preset on a trigger, past half") << "preset3=righttrigger" << "rt=40 rt=0 rt=60 rt=0" << "callPreset(3)"
                                                        << "<b>Right trigger</b></td><td>Call preset 3";
        QTest::newRow("dead zone edge") << "deadZone=40" << "ly=39 ly=41 ly=0" << "setZoomSpeed(0) pelco_d_zoom_in" + zoom
                                        << "Rest within 40 %";
        QTest::newRow("band edges") << "mediumSpeedFrom=30 highSpeedFrom=60" << "ly=29 | ly=31 | ly=61 ly=0"
                                    << "setZoomSpeed(0) pelco_d_zoom_in | setZoomSpeed(1) pelco_d_zoom_in | "
                                       "setZoomSpeed(2) pelco_d_zoom_in" + zoom << "";
        QTest::newRow("unplugged") << "zoom=righty focus=lefty" << "ry=60 unplug1" << "setZoomSpeed(1) pelco_d_zoom_in" + zoom << "";
        QTest::newRow("deactivated") << "focus=rightx" << "rx=95 deactivate activate rx=96 rx=0 rx=30"
                                     << "setFocusSpeed(2) pelco_d_focus_far" + focus + " setFocusSpeed(0) pelco_d_focus_far" << "";
    }
    void gamepadLayout()
    {
        QFETCH(QString, help);
        QFETCH(QString, layout);
        QFETCH(QString, script);
        m_padKeys = layout;
        QVERIFY(operate());
        play("plug " + script);
        QTEST(calls(), "calls");
        m_window->findChild<QAction *>("action_keyboardControls")->trigger();
        QVERIFY(get<QWidget>("keyboardControls")->findChild<QLabel *>()->text().contains(help));
    }

    // View ▸ Gamepad…: a control bound by moving it or chosen from the list ("choose:action:control"),
    // inverted, or the defaults brought back, is kept in config.ini on OK and drives from then on;
    // Cancel keeps nothing.
    void gamepadDialog_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("calls");
        QTest::newRow("bound by moving, inverted") << "pb_zoom ry=60 ry=0 cb_zoomInverted ok ry=60 ry=0"
                                                   << "zoom=righty zoomInverted=true focus=lefty"
                                                   << "setZoomSpeed(1) pelco_d_zoom_out pelco_d_zoom_stop getZoomPosition setZoomSpeed(1)";
        QTest::newRow("a stick pushed before counts once back") << "ly=60 pb_zoom ry=60 ry=0 ly=0 ok"
                                                                << "zoom=righty focus=lefty"
                                                                << "setZoomSpeed(1) pelco_d_zoom_in pelco_d_zoom_stop getZoomPosition setZoomSpeed(1)";
        QTest::newRow("a button held while bound acts once let go") << "pb_preset1 x=1 ok x=1 x=0 x=1 x=0"
                                                                    << "preset1=x preset3=a" << "callPreset(1)";
        QTest::newRow("chosen from the list without a pad") << "unplug1 pb_preset5 choose:preset5:b ok"
                                                            << "preset5=b preset2=none" << "";
        QTest::newRow("defaults brought back") << "pb_zoom ry=60 ry=0 defaults ok" << "zoom=lefty zoomInverted=false focus=righty" << "";
        QTest::newRow("cancelled") << "pb_zoom ry=60 ry=0 cancel ly=60 ly=0" << "zoom= focus="
                                   << "setZoomSpeed(1) pelco_d_zoom_in pelco_d_zoom_stop getZoomPosition setZoomSpeed(1)";
    }
    void gamepadDialog()
    {
        QFETCH(QString, script);
        QVERIFY(operate());
        pad("plug");
        m_window->findChild<QAction *>("action_gamepad")->trigger();
        auto *dialog = m_window->findChild<GamepadDialog *>();
        for (const QString &step : script.split(' ')) {
            const QStringList part = step.split(':');
            if (step == "ok" || step == "cancel") {
                step == "ok" ? dialog->accept() : dialog->reject();
                QApplication::setActiveWindow(m_window.get());
                m_window->findChild<GamepadPoller *>()->poll();
            } else if (step == "defaults") {
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::RestoreDefaults)->click();
            } else if (part[0] == "choose") {
                auto *combo = get<QComboBox>("cb_" + part[1]);
                combo->setCurrentIndex(combo->findData(padControlFromName(part[2])));
                emit combo->activated(combo->currentIndex());
            } else if (!pad(step)) {
                act(step);
            }
            QTRY_VERIFY(m_window->isIdle());
        }
        play("");
        QFETCH(QString, kept);
        const QSettings config("config.ini", QSettings::IniFormat);
        QStringList found;
        for (const QString &key : kept.split(' '))
            found << key.section('=', 0, 0) + '=' + config.value("gamepad/" + key.section('=', 0, 0)).toString();
        QCOMPARE(found.join(' '), kept);
        QTEST(calls(), "calls");
    }

    // config.ini names the pad's controls as SDL does.
    void padControlNames()
    {
        for (int axis = 0; axis < padAxisCount; ++axis)
            QCOMPARE(padControlName(axis), SDL_GameControllerGetStringForAxis(SDL_GameControllerAxis(axis)));
        for (int button = 0; button < padButtonCount; ++button)
            QCOMPARE(padControlName(padAxisCount + button), SDL_GameControllerGetStringForButton(SDL_GameControllerButton(button)));
    }

    // A pad SDL does not know by itself drives once gamecontrollerdb.txt beside config.ini maps it.
    void unknownPad_data()
    {
        QTest::addColumn<bool>("mapped");
        QTest::addColumn<QString>("status");
        QTest::newRow("without a mapping") << false << "";
        QTest::newRow("mapped") << true << "Gamepad: Mapped Pad";
    }
    void unknownPad()
    {
        QFETCH(bool, mapped);
        QCOMPARE(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0);
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = 2;
        desc.nbuttons = 2;
        desc.name = "Odd Pad";
        SDL_Joystick *pad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
        char guid[33];
        SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(pad), guid, sizeof guid);
        // The database's entries carry no check sum of the name.
        std::fill(guid + 4, guid + 8, '0');
        if (mapped)
            m_mappings = QByteArray(guid) + ",Mapped Pad,a:b0,b:b1,leftx:a0,lefty:a1,platform:" + SDL_GetPlatform() + ",\n";
        const bool operating = operate();
        m_window->findChild<GamepadPoller *>()->poll();
        const auto *status = m_window->statusBar()->findChild<QLabel *>();
        const QString shown = status->isVisible() ? status->text() : QString();
        m_window.reset();
        SDL_JoystickClose(pad);
        SDL_JoystickDetachVirtual(0);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        QVERIFY(operating);
        QTEST(shown, "status");
    }
#endif

    // With the example Tavro profile in use and the board at N after Save (N/M: its zoom range M): a
    // value typed with a unit goes where the profile's inverse puts it (a focus distance at the zoom
    // shown); one it cannot place, or not within the board's range, sends nothing, says why, and the
    // field shows its position again.
    void lensUnits_data()
    {
        QTest::addColumn<QString>("board");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QString>("units");
        const LensProfile tavro = *LensProfile::readFile(TAVRO_PROFILES "/tavro-18x.json").profile;
        const auto at = [](std::optional<double> position) { return QString::number(qRound(position.value_or(-1))); };
        const QString start = "6.8 mm||f/1.8|HFOV 45.9°";
        QTest::newRow("at 0") << "0" << "" << "" << start;
        QTest::newRow("zoom 50mm") << "0" << "le_motor1 50mm" << "setZoomPosition(" + at(tavro.zoomForFocalLength(50)) + ")"
                                   << "50.0 mm||f/1.8|HFOV 6.6°";
        QTest::newRow("focus 2.5m at zoom 0") << "0" << "le_motor2 2.5m"
                                              << "getFocusPosition setFocusPosition(" + at(tavro.focusForDistance(2.5, 0)) + ")"
                                              << "6.8 mm|2.50 m|f/1.8|HFOV 45.9°";
        QTest::newRow("focus inf at zoom 7350") << "0" << "le_motor1 7350 le_motor2 inf" << "setZoomPosition(7350) getFocusPosition setFocusPosition(3900)"
                                              << "120.0 mm|∞|f/1.8|HFOV 2.7°";
        QTest::newRow("iris F4") << "0" << "le_motor3 F4" << "setIrisPosition(" + at(tavro.irisForFNumber(4)) + ")"
                                 << "6.8 mm||f/4.0|HFOV 45.9°";
        QTest::newRow("zoom 200 mm") << "0" << "le_motor1 200 mm"
                                     << "The zoom does not move to 200 mm: outside the profile's range 6.80 to 120.00 mm." << start;
        QTest::newRow("focus 0.3m at zoom 0") << "0" << "le_motor2 0.3m"
                                              << "The focus does not move to 0.3m: outside the profile's range 0.500 to \u221e m." << start;
        QTest::newRow("iris 35mm") << "0" << "le_motor3 35mm"
                                   << "The iris does not move to 35mm: the iris takes counts or an f-number." << start;
        // The profile's soft limits hold for counts too (focus from 300).
        QTest::newRow("focus 100 below its limit") << "0" << "le_motor2 100" << "The focus stays within the lens profile's limit 300."
                                                   << start;
        // Past the iris table's end the f-number is unknown.
        QTest::newRow("zoom 120mm beyond a board to 5000") << "0/5000" << "pb_calibrateAll le_motor1 120mm"
            << "calibrateAll pause(8000) getZoomPosition getFocusPosition getIrisPosition getMaxZoomPosition "
               "getMaxFocusPosition The zoom does not move to 120mm: the profile puts it at 7350, beyond the board's "
               "range 0 to 5000." << start;
        QTest::newRow("refresh 7350") << "7350" << "pb_refresh" << "getFocusPosition getZoomPosition getIrisPosition"
                                      << "120.0 mm|∞||HFOV 2.7°";
    }
    void lensUnits()
    {
        QFETCH(QString, board);
        QFETCH(QString, script);
        QVERIFY(operate(BoardType::Tavro, true, "lens/profile/tavro=" TAVRO_PROFILES "/tavro-18x.json"));
        m_board->zoomPosition = m_board->focusPosition = m_board->irisPosition = board.section('/', 0, 0).toInt();
        m_board->maxZoom = board.section('/', 1).toInt() ? board.section('/', 1).toInt() : m_board->maxZoom;
        for (const QString &step : script.split(QRegularExpression(" (?=le_|pb_)"), Qt::SkipEmptyParts))
            act(step);
        QTEST(calls(), "calls");
        QTEST(units(), "units");
        // The field shows the slider's position again, or the motor's beyond the slider's ends (the
        // focus at 0 beneath its limit 300).
        for (int motor = 1; motor <= 3; ++motor) {
            const int field = lineEdit(motor)->text().toInt();
            if (script.contains(QString("le_motor%1").arg(motor)) && field != slider(motor)->value())
                QVERIFY(field < slider(motor)->minimum() || field > slider(motor)->maximum());
        }
        const QString zoom = get<QLabel>("lbl_zoomUnits")->text();
        QCOMPARE(get<QLabel>("lbl_zoomUnits")->accessibleName(), "Zoom focal length " + zoom.chopped(3) + " millimetres");
    }

    // With a profile that holds zoom, focus and iris to 500..7000, 300..3800 and 200..5000 (limited),
    // after Calibrate All finds the zoom at 7200, the focus at 2000 and the iris at 5500: the sliders'
    // ranges (as a screen reader reads them) are the limits, the fields show where the motors stand, an
    // end of a slider sends the limit, and a range that changes sends nothing; preset 1 goes at low
    // speed, its own. The script is play()'s,
    // or "unlimit": the profile in use is saved anew without limits and used again. The status line's
    // messages are in brackets.
    void limits_data()
    {
        QTest::addColumn<bool>("limited");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("calls");
        const QString board = "7200/7200 2000/2000 100/100", held = "7200/7000 2000/2000 100/91";
        QTest::newRow("no limits: the board's ranges") << false << "" << "0-7350 0-4000 0-100" << board << "";
        QTest::newRow("limits: the ranges") << true << "" << "500-7000 300-3800 3-91" << held << "";
        QTest::newRow("limits dropped: the board's ranges") << true << "unlimit" << "0-7350 0-4000 0-100" << board << "";
        QTest::newRow("ends of the sliders") << true << "@hs_motor1 Home @hs_motor3 End" << "500-7000 300-3800 3-91"
                                             << "500/500 2000/2000 91/91"
                                             << "setZoomPosition(500) pause(500) setIrisPosition(5000) pause(500)";
        QTest::newRow("a count beyond a limit") << true << "type:le_motor1:7100" << "500-7000 300-3800 3-91" << held
                                                << "The zoom stays within the lens profile's limit 7000.";
        // With live reads off the move's end is not read: the field goes back to it, not to the last read.
        QTest::newRow("a count beyond a limit after a move") << true << "@hs_motor1 Home wait type:le_motor1:7100"
            << "500-7000 300-3800 3-91" << "500/500 2000/2000 100/91"
            << "setZoomPosition(500) pause(500) The zoom stays within the lens profile's limit 7000.";
        QTest::newRow("a focal length beyond a limit") << true << "type:le_motor1:120mm" << "500-7000 300-3800 3-91" << held
            << "The zoom does not move to 120mm: the profile puts it at 7350, beyond the lens profile's limit 7000.";
        // A call reads where the motors are, then sends each to its place at the preset's speed.
        const QString reads = "getZoomPosition getMaxZoomPosition getFocusPosition getMaxFocusPosition getIrisPosition "
                              "getMaxIrisPosition ";
        const QString gotos = "setZoomSpeed(0) setZoomPosition(7000) getZoomPosition setFocusSpeed(0) setFocusPosition(2000) "
                              "getFocusPosition setIrisPosition(5000) getIrisPosition";
        QTest::newRow("a preset beyond the limits, told once") << true << "pb_storePreset1 pb_callPreset1 pb_callPreset1"
            << "500-7000 300-3800 3-91" << held
            << "storePreset(1) getZoomPosition getFocusPosition getIrisPosition " + reads + "[Preset 1 lies beyond the zoom's "
               "limit 7000 and the iris's limit 5000: it was recalled to the limits.] " + gotos + ' ' + reads + gotos;
    }
    void limits()
    {
        QFETCH(bool, limited);
        QFETCH(QString, script);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Corvane", "Tavro Lens Controller").remove("recordedPresets");
        QTemporaryDir folder(QDir::tempPath() + "/profile-XXXXXX");
        const QString path = folder.filePath("lens.json");
        const auto write = [&path](bool withLimits) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly)
                && file.write(QByteArray(R"({"name": "l", "zoom": [[0, 6.8], [7350, 120]])")
                              + (withLimits ? R"(, "limits": {"zoom": [500, 7000], "focus": [300, 3800], "iris": [200, 5000]}})"
                                            : "}"))
                       > 0;
        };
        QVERIFY(write(limited));
        QVERIFY(operate(BoardType::Tavro, true, "1=1 lens/profile/tavro=" + path));
        m_board->zoomPosition = 7200;
        m_board->focusPosition = 2000;
        m_board->irisPosition = 5500;
        m_board->gotosArrive = true;
        act("pb_calibrateAll");
        const QString calibrated = "calibrateAll pause(8000) getZoomPosition getFocusPosition getIrisPosition "
                                   "getMaxZoomPosition getMaxFocusPosition";
        QCOMPARE(calls(), calibrated);
        m_board->calls.clear();
        // Taken off the line at once, so that a message told again shows anew.
        connect(m_window->statusBar(), &QStatusBar::messageChanged, m_window.get(), [this](const QString &text) {
            if (!text.isEmpty()) {
                m_board->calls << '[' + text + ']';
                m_window->statusBar()->clearMessage();
            }
        });
        if (script == "unlimit") {
            QVERIFY(write(false));
            get<QAction>("action_lensProfile")->trigger();
            QTest::mouseClick(get<QWidget>("pb_useProfile"), Qt::LeftButton);
        } else {
            play(script);
        }
        QFETCH(QString, calls);
        QVERIFY2(matches(calls, this->calls()), qPrintable(this->calls()));
        QTEST(state(), "state");
        QStringList ranges;
        for (int motor = 1; motor <= 3; ++motor) {
            QAccessibleValueInterface *value = QAccessible::queryAccessibleInterface(slider(motor))->valueInterface();
            ranges << value->minimumValue().toString() + '-' + value->maximumValue().toString();
        }
        QTEST(ranges.join(' '), "ranges");
    }

    // A profile in use that cannot be read is told once, at start, not again at Save, and the
    // window works in counts.
    void unusableProfile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("falling position") << QByteArray(R"({"name": "x", "zoom": [[0, 6.8], [3000, 24], [1200, 10.5]]})");
    }
    void unusableProfile()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir folder(QDir::tempPath() + "/profile-XXXXXX");
        const QString path = folder.filePath("lens.json");
        QFile file(path);
        QVERIFY(content.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(content) && file.flush()));
        QStringList told;
        const auto restore = qScopeGuard([previous = OperatorReport::setReporter([&told](OperatorReport::Severity, const QString &text) {
            told << text;
        })] { OperatorReport::setReporter(previous); });
        QVERIFY(operate(BoardType::Tavro, true, "lens/profile/tavro=" + path));
        act("le_motor1 42");
        QCOMPARE(told, QStringList{LensProfile::readFile(path).error});
        QCOMPARE(calls(), "setZoomPosition(42)");
        QCOMPARE(units(), "|||");
    }

    // Lens ▸ Keep focus while zooming needs a profile in use with a focus curve: without one it is
    // refused, told, unchecked and kept off, at start too ("kept": on from the last run); with one,
    // the window's zoom moves take the focus along, and it is kept for the next start.
    void trackFocus_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<bool>("on");
        const QString noCurve = "The focus cannot follow the zoom: the lens profile in use has no focus curve. "
                                "Lens ▸ Profile… adds one.";
        QTest::newRow("no profile") << "" << "track"
            << "The focus cannot follow the zoom: no lens profile is in use. Lens ▸ Profile… makes one with a focus curve."
            << false;
        QTest::newRow("no focus curve") << "zoom" << "track" << noCurve << false;
        QTest::newRow("kept, no focus curve now") << "zoom kept" << "" << "" << false;
        // From 3 m at the wide end (2600) to 3 m at zoom 3000.
        QTest::newRow("focus curve") << "tavro" << "track type:le_motor1:3000"
                                     << "getZoomPosition ... setZoomPosition(3000) ... setFocusPosition(2396) ..." << true;
        QTest::newRow("kept") << "tavro kept" << "pb_refresh type:le_motor1:3000"
                              << "getFocusPosition ... setZoomPosition(3000) ... setFocusPosition(2396) ..." << true;
        QTest::newRow("off again") << "tavro kept" << "track type:le_motor1:3000" << "setZoomPosition(3000)" << false;
    }
    void trackFocus()
    {
        QFETCH(QString, profile);
        QFETCH(QString, script);
        QTemporaryDir folder(QDir::tempPath() + "/profile-XXXXXX");
        QFile zoomOnly(folder.filePath("zoom.json"));
        QVERIFY(zoomOnly.open(QIODevice::WriteOnly) && zoomOnly.write(R"({"name": "z", "zoom": [[0, 6.8], [7350, 120]]})") && zoomOnly.flush());
        const QString path = profile.startsWith("zoom") ? zoomOnly.fileName() : TAVRO_PROFILES "/tavro-18x.json";
        QVERIFY(operate(BoardType::Tavro, true, (profile.isEmpty() ? "" : "lens/profile/tavro=" + path)
                                                     + (profile.endsWith("kept") ? " lens/trackFocus=true" : "")));
        m_board->gotosArrive = true;
        // 3 m at the wide end.
        m_board->focusPosition = 2600;
        play(script);
        QFETCH(QString, calls);
        QVERIFY2(matches(calls, this->calls()), qPrintable(this->calls()));
        QTEST(get<QAction>("action_trackFocus")->isChecked(), "on");
        QTEST(QSettings("config.ini", QSettings::IniFormat).value("lens/trackFocus").toBool(), "on");
    }

    // Add point takes the position the window shows and a typed value; Save as writes a profile the
    // tool reads, and Use in the window puts it to use for the board type.
    void profileDialog()
    {
        QVERIFY(operate());
        QTemporaryDir folder;
        const QString path = folder.filePath("captured.json");
        get<QAction>("action_lensProfile")->trigger();
        auto *dialog = get<QDialog>("lensProfileDialog");
        const auto in = [dialog](const char *name) { return dialog->findChild<QWidget *>(name); };
        const auto choose = [&](const char *button) {
            QTest::mouseClick(in(button), Qt::LeftButton);
            auto *files = dialog->findChild<QFileDialog *>("profileFileDialog");
            QVERIFY(files);
            files->selectFile(path);
            static_cast<QDialog *>(files)->accept();
            QTRY_VERIFY(!dialog->findChild<QFileDialog *>("profileFileDialog"));
        };
        qobject_cast<QLineEdit *>(in("le_profileName"))->setText("Captured");
        qobject_cast<QLineEdit *>(in("le_sensorWidth"))->setText("5.76");
        for (const auto &[position, value] : {std::pair{"0", "6.8 mm"}, {"7350", "120"}}) {
            act(QString("le_motor1 ") + position);
            qobject_cast<QLineEdit *>(in("le_pointValue"))->setText(value);
            QTest::mouseClick(in("pb_addPoint"), Qt::LeftButton);
            // One point is no table yet: refused, and nothing written.
            if (position == QLatin1String("0")) {
                choose("pb_saveProfileAs");
                QVERIFY2(calls().endsWith("zoom: needs at least two points") && !QFile::exists(path), qPrintable(calls()));
            }
        }
        QCOMPARE(qobject_cast<QLabel *>(in("lbl_profilePreview"))->text(), "7350 → 120.0 mm");
        // Saved, then opened again over fields emptied meanwhile.
        choose("pb_saveProfileAs");
        for (const char *field : {"le_profileName", "le_sensorWidth"})
            qobject_cast<QLineEdit *>(in(field))->clear();
        choose("pb_openProfile");
        QCOMPARE(qobject_cast<QLineEdit *>(in("le_sensorWidth"))->text(), "5.76");
        const LensProfile::Read read = LensProfile::readFile(path);
        QVERIFY2(read.profile, qPrintable(read.error));
        QCOMPARE(read.profile->focalLengthMm(0), 6.8);
        QCOMPARE(read.profile->data().board, "tavro");
        QTest::mouseClick(in("pb_useProfile"), Qt::LeftButton);
        QCOMPARE(units(), "120.0 mm|||HFOV 2.7°");
        QCOMPARE(QSettings("config.ini", QSettings::IniFormat).value("lens/profile/tavro").toString(), path);
    }

    // Every operating slot, with no driver in service, leaves driver and widgets alone.
    void nothingReachesAMissingDriver()
    {
        QVERIFY(operate(BoardType::Tavro, false));
        const QRegularExpression operating("^(motor\\d|zoom|focus|iris|refresh|store|callPreset|calibrate)");
        const QMetaObject *meta = &MainWindow::staticMetaObject;
        int invoked = 0;
        EXPECT_DEBUG_LINE("comm not set");
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
            invoked += operating.match(meta->method(i).name()).hasMatch() && meta->method(i).invoke(m_window.get());
        QCOMPARE(invoked, 44);
        QCOMPARE(calls(), QString());
        QCOMPARE(state(), "2/1 2/1 2/1");
    }
};

QTEST_MAIN(TestMainWindowControls)
#include "tst_mainwindowcontrols.moc"
