// The window while an operation runs, over the fake driver: the progress dialog,
// the wait cursor, input made meanwhile and a close request.

#include "fakecontroller.h"
#include "lenswindow.h"
#include "operationprogressdialog.h"
#include "operatorreport.h"
#include "pause.h"
#include "sliderinput.h"
#include "startconfig.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

class TestMainWindowOperations : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<FakeBoard> m_board;
    std::unique_ptr<MainWindow> m_window;
    // Runs inside every pause, after the calls are recorded.
    std::function<void()> m_duringPause;

    // A shown window on a fake board of the given type, in operating mode unless Save is to come.
    void open(BoardType type, bool saved)
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_dir->path());
        prepareStart(type, "FAKE1");
        m_window = std::make_unique<LensWindow>();
        m_window->setControllerFactory([board = m_board](BoardType, const QString &port) {
            return std::make_unique<FakeController>(port, board);
        }, LensSession::Threading::CallersThread);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        if (saved)
            click("pb_settingsMultiButton");
        m_board->calls.clear();
    }
    template<typename T = QWidget> T *w(const char *name) const { return m_window->findChild<T *>(name); }
    // Clicks and waits until the board has heard all of it.
    void click(const char *button)
    {
        QTest::mouseClick(w<QPushButton>(button), Qt::LeftButton);
        QTRY_VERIFY(m_window->isIdle());
    }
    // A click as the window system would queue it, on the middle of the widget.
    static void postClick(QWidget *widget)
    {
        const QPointF centre = QRectF(widget->rect()).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(widget, new QMouseEvent(type, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                                                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                                Qt::NoModifier));
    }
    void act(const QString &action)
    {
        if (action.startsWith("hs_")) {
            auto *slider = w<QSlider>(qPrintable(action));
            slider->setSliderDown(true);
            slider->setValue(slider->value() + 10);
            slider->setSliderDown(false);
            QTRY_VERIFY(m_window->isIdle());
        } else {
            click(qPrintable(action));
        }
    }

private slots:
    void initTestCase()
    {
        qputenv("TAVRO_EXTRA_PORTS", "FAKE1");
        Pause::setFunction([this](unsigned long ms) {
            m_board->calls << QString("pause(%1)").arg(ms);
            if (m_duringPause)
                m_duringPause();
        });
        OperatorReport::setReporter([this](OperatorReport::Severity, const QString &text) { m_board->calls << text; });
    }
    void init()
    {
        m_board = std::make_shared<FakeBoard>();
        m_duringPause = nullptr;
    }
    void cleanup() { m_window.reset(); }

    // What each pause of the operation sees: the dialog's step and countdown, and the cursor.
    void progressDuringPauses_data()
    {
        QTest::addColumn<int>("board");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("seen");
        const int tavro = int(BoardType::Tavro);
        QTest::newRow("Save") << tavro << "pb_settingsMultiButton" << "pause(8000) Calibrating… / 8 s left / wait cursor";
        QTest::newRow("Calibrate All") << tavro << "pb_calibrateAll" << "pause(8000) Calibrating… / 8 s left / wait cursor";
        // The driver's two pauses and the window's own, announced ahead, count down as one.
        QTest::newRow("Pellan Calibrate All") << int(BoardType::Pellan) << "pb_calibrateAll"
                                              << "pause(8000) Calibrating… / 24 s left / wait cursor pause(8000) Calibrating… / "
                                                 "16 s left / wait cursor pause(8000) Calibrating… / 8 s left / wait cursor";
        // A move is no operation: the window waits for nothing.
        QTest::newRow("focus +") << tavro << "pb_focusPlus" << "pause(500) no dialog / no wait cursor";
        QTest::newRow("zoom slider") << tavro << "hs_motor1" << "pause(500) no dialog / no wait cursor";
        QTest::newRow("Pellan focus slider") << int(BoardType::Pellan) << "hs_motor2" << "pause(500) no dialog / no wait cursor";
    }
    void progressDuringPauses()
    {
        QFETCH(int, board);
        QFETCH(QString, action);
        open(BoardType(board), action != "pb_settingsMultiButton");
        m_board->calibrationPauses = board == int(BoardType::Pellan) ? 2 : 0;
        QStringList seen;
        m_duringPause = [&] {
            auto *dialog = w<QDialog>("operationProgress");
            seen << m_board->calls.last();
            if (dialog && dialog->isVisible())
                seen << dialog->findChild<QLabel *>("lbl_operationStep")->text() + " / "
                        + dialog->findChild<QLabel *>("lbl_operationDetail")->text();
            else
                seen << "no dialog";
            const QCursor *cursor = QApplication::overrideCursor();
            seen << (cursor && cursor->shape() == Qt::WaitCursor ? "/ wait cursor" : "/ no wait cursor");
        };
        act(action);
        QTEST(seen.join(' '), "seen");
        // All gone once the operation is over.
        QVERIFY(!w<QDialog>("operationProgress") || !w<QDialog>("operationProgress")->isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // The dialog's figures (detail, bar value/maximum) after each keep-alive call: "ahead:N" announces
    // pauses of N ms in all, "pause:N" is a pause's time left (its length first, 0 at its end),
    // "board" a wait for the board. Announced, the pauses count down as one and the bar fills once.
    void countdown()
    {
        QWidget window;
        OperationProgressDialog dialog(&window);
        dialog.start("Calibrating…");
        const auto *detail = dialog.findChild<QLabel *>("lbl_operationDetail");
        const auto *bar = dialog.findChild<QProgressBar *>();
        QStringList shown;
        for (const QString call : {"ahead:8000", "ahead:16000", "board", "pause:8000", "pause:0", "board", "pause:8000",
                                   "pause:0", "pause:8000", "pause:1500", "pause:400", "pause:0", "start", "ahead:8000", "pause:8000"}) {
            if (call == "start") // the next operation counts from its own start
                dialog.start("Calibrating…");
            else
                dialog.showWait(call.startsWith("ahead") ? KeepAlive::Reason::PausesAhead
                                    : call == "board"    ? KeepAlive::Reason::Board
                                                         : KeepAlive::Reason::Pause, call.section(':', 1).toLongLong());
            shown << detail->text() + QString(" %1/%2").arg(bar->value()).arg(bar->maximum());
        }
        const QString board = "Waiting for the board to answer… ";
        QCOMPARE(shown.join('|'), " -1/0| -1/0|" + board + "0/24000|24 s left 0/24000|16 s left 8000/24000|" + board
                     + "8000/24000|16 s left 8000/24000|8 s left 16000/24000|8 s left 16000/24000|2 s left 22500/24000|"
                       "1 s left 23600/24000| 24000/24000| -1/0| -1/0|8 s left 0/8000");
    }

    // Clicks, keys and the wheel that reach the window during an operation are dropped, not kept for
    // later: Save's button would otherwise switch back to the settings panel afterwards, a moved
    // slider would go out once settled, a combo box would keep its new entry. A second operation
    // asked for from inside the first is refused.
    void inputDuringAnOperationIsDropped_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("calls");
        QTest::newRow("Save") << "pb_settingsMultiButton"
                              << "getLensType setLensType(1) disableStallDetection(0) setSensitivityMode(0) getSensitivityMode "
                                 "calibrateAll pause(8000) setZoomSpeed(0) setFocusSpeed(0) getZoomPosition getFocusPosition "
                                 "getIrisPosition getMaxZoomPosition getMaxFocusPosition";
        QTest::newRow("Calibrate All") << "pb_calibrateAll"
                                       << "calibrateAll pause(8000) getZoomPosition getFocusPosition getIrisPosition "
                                          "getMaxZoomPosition getMaxFocusPosition";
    }
    void inputDuringAnOperationIsDropped()
    {
        QFETCH(QString, action);
        open(BoardType::Tavro, action != "pb_settingsMultiButton");
        m_duringPause = [this] {
            for (const char *name : {"pb_settingsMultiButton", "pb_refresh", "pb_callPreset1", "cb_longCable"})
                postClick(w(name));
            // Sliders take them while operating, the combo boxes while the settings are edited.
            for (const char *name : {"hs_motor1", "cb_lensSelect"})
                for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
                    QCoreApplication::postEvent(w(name), new QKeyEvent(type, Qt::Key_End, Qt::NoModifier));
            for (const char *name : {"hs_motor2", "cb_zoomSpeed"})
                QCoreApplication::postEvent(w(name), new QWheelEvent({5, 5}, {5, 5}, {}, {0, -120}, Qt::NoButton, {},
                                                                     Qt::NoScrollPhase, false));
            m_window->refreshClicked();
        };
        const bool longCable = w<QCheckBox>("cb_longCable")->isChecked();
        const QList<int> entries{w<QComboBox>("cb_lensSelect")->currentIndex(), w<QComboBox>("cb_zoomSpeed")->currentIndex()};
        act(action);
        m_duringPause = nullptr;
        QTest::qWait(SliderInput::settleMs + 100);
        QTEST(m_board->calls.join(' '), "calls");
        QCOMPARE(w<QPushButton>("pb_settingsMultiButton")->text(), "Edit Settings");
        QCOMPARE(w<QCheckBox>("cb_longCable")->isChecked(), longCable);
        QCOMPARE(QList<int>({w<QComboBox>("cb_lensSelect")->currentIndex(), w<QComboBox>("cb_zoomSpeed")->currentIndex()}), entries);
        // Input after the operation is taken again.
        click("pb_refresh");
        QVERIFY(m_board->calls.last() == "getIrisPosition");
    }

    // The board is in the middle of an operation: the window closes when it is over.
    void closingDuringAnOperationWaitsForItsEnd_data()
    {
        QTest::addColumn<QString>("closed");
        QTest::newRow("window") << "MainWindow";
        QTest::newRow("progress dialog") << "operationProgress";
    }
    void closingDuringAnOperationWaitsForItsEnd()
    {
        QFETCH(QString, closed);
        open(BoardType::Tavro, true);
        bool accepted = true, shown = false;
        m_duringPause = [&] {
            // A modal window would keep the window system's close request from the window.
            QVERIFY(!QGuiApplication::modalWindow());
            accepted = (closed == "MainWindow" ? m_window.get() : w(qPrintable(closed)))->close();
            shown = m_window->isVisible();
        };
        click("pb_calibrateAll");
        QVERIFY(!accepted);
        QVERIFY(shown);
        QTRY_VERIFY(!m_window->isVisible());
        QCOMPARE(m_board->calls.join(' '), "calibrateAll pause(8000) getZoomPosition getFocusPosition getIrisPosition "
                                           "getMaxZoomPosition getMaxFocusPosition");
    }
};

QTEST_MAIN(TestMainWindowOperations)
#include "tst_mainwindowoperations.moc"
