// The window with the real drivers, each against a simulated board on a
// pseudo-terminal: what the operator does ends up on the wire and moves the
// simulated motors.

#include "boardsimulator.h"
#include "mainwindow.h"
#include "operatorreport.h"
#include "pause.h"
#include "pellanboard.h"
#include "tavroboard.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Simulated time runs this much faster than real time, and the window's
// pauses shrink by as much, so the boards still finish what the pauses wait for.
constexpr double kTimeScale = 50.0;

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tavroSaveConfiguresTheBoard();
    void tavroSliderMovesTheZoomMotor();
    void pellanSaveCalibratesTheFocusRange();
    void pellanPresetSurvivesStoreAndNewDriver();

private:
    void startBoard(std::unique_ptr<BoardModel> board, int controllerType);
    void save();
    void releaseSlider(const char *name, int value);
    void click(const char *name);
    template<typename Widget>
    Widget *widget(const char *name) const
    {
        Widget *found = m_window->findChild<Widget *>(QLatin1String(name));
        Q_ASSERT(found);
        return found;
    }
    int tavroPosition(TavroBoard::Axis axis)
    {
        return m_sim->withBoard<TavroBoard>(
            [axis](TavroBoard &board, qint64 now) { return board.position(axis, now); });
    }
    int pellanRaw()
    {
        return m_sim->withBoard<PellanBoard>(
            [](PellanBoard &board, qint64 now) { return board.rawPosition(now); });
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<BoardSimulator> m_sim;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_reports;
    QList<unsigned long> m_pauses;
    OperatorReport::Reporter m_previousReporter;
    Pause::Function m_previousPause;
};

void TestEndToEnd::init()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane"),
              QStringLiteral("Tavro Lens Controller"))
        .clear();
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir::setCurrent(m_folder->path()));
    m_reports.clear();
    m_pauses.clear();
    m_previousReporter = OperatorReport::setReporter(
        [this](QMessageBox::Icon, const QString &text) { m_reports << text; });
    m_previousPause = Pause::setFunction([this](unsigned long ms) {
        m_pauses << ms;
        QThread::msleep(static_cast<unsigned long>(ms / kTimeScale));
    });
}

void TestEndToEnd::cleanup()
{
    m_window.reset();
    m_sim.reset();
    OperatorReport::setReporter(m_previousReporter);
    Pause::setFunction(m_previousPause);
    QDir::setCurrent(QDir::tempPath());
    m_folder.reset();
}

void TestEndToEnd::startBoard(std::unique_ptr<BoardModel> board, int controllerType)
{
    m_sim = std::make_unique<BoardSimulator>(std::move(board));
    QVERIFY2(m_sim->isOpen(), qPrintable(m_sim->errorString()));
    m_sim->setTimeScale(kTimeScale);
    qputenv("TAVRO_EXTRA_PORTS", m_sim->portName().toLocal8Bit());
    {
        QSettings config(QStringLiteral("config.ini"), QSettings::IniFormat);
        config.setValue(QStringLiteral("controller/lastSelected"), controllerType);
        config.setValue(QStringLiteral("motor/lastSelected"), 1);
        config.setValue(QStringLiteral("serialPort/lastSelected"), m_sim->portName());
    }
    m_window = std::make_unique<MainWindow>();
    m_window->show();
}

void TestEndToEnd::save()
{
    click("pb_settingsMultiButton");
    QCOMPARE(m_reports, QStringList());
    QCOMPARE(widget<QPushButton>("pb_settingsMultiButton")->text(), QStringLiteral("Edit Settings"));
}

void TestEndToEnd::releaseSlider(const char *name, int value)
{
    QSlider *slider = widget<QSlider>(name);
    slider->setSliderDown(true);
    slider->setValue(value);
    slider->setSliderDown(false);
}

void TestEndToEnd::click(const char *name)
{
    QTest::mouseClick(widget<QPushButton>(name), Qt::LeftButton);
}

void TestEndToEnd::tavroSaveConfiguresTheBoard()
{
    startBoard(std::make_unique<TavroBoard>(), MainWindow::TAVRO_CONTROLLER);
    save();

    const QList<QByteArray> expected = {
        hex("fe100000000000"), // the probe: is a board there?
        hex("fe070000000101"), // lens 1
        hex("fe130000000000"), // stall detection stays on
        hex("fe0b0000000000"), // no long cable
        hex("fe0c0000000000"),
        hex("fe0f0000000000"), // calibrate, then the board's own 8 s
        hex("ff000025000000"), // zoom speed Low
        hex("ff000027000000"), // focus speed Low
        hex("fe080000000000"),
        hex("fe090000000000"),
        hex("fe0a0000000000"),
        hex("fe150000000000"),
        hex("fe140000000000"),
    };
    QCOMPARE(m_sim->frames(), expected);
    QCOMPARE(m_pauses, QList<unsigned long>{8000});

    // The ranges come from the board; iris is always shown in 0..100.
    QCOMPARE(widget<QSlider>("hs_motor1")->maximum(), TavroBoard::zoomMaximum);
    QCOMPARE(widget<QSlider>("hs_motor2")->maximum(), TavroBoard::focusMaximum);
    QCOMPARE(widget<QSlider>("hs_motor3")->maximum(), 100);
    QCOMPARE(widget<QLineEdit>("le_motor1")->text(), QStringLiteral("0"));

    QSettings config(QStringLiteral("config.ini"), QSettings::IniFormat);
    QCOMPARE(config.value(QStringLiteral("serialPort/lastSelected")).toString(), m_sim->portName());
}

void TestEndToEnd::tavroSliderMovesTheZoomMotor()
{
    startBoard(std::make_unique<TavroBoard>(), MainWindow::TAVRO_CONTROLLER);
    save();
    const int before = m_sim->frameCount();
    m_pauses.clear();

    releaseSlider("hs_motor1", 3000);

    QCOMPARE(m_sim->frames().mid(before), QList<QByteArray>{hex("fe0400000bb800")});
    QCOMPARE(m_pauses, QList<unsigned long>{500});
    QTRY_COMPARE(tavroPosition(TavroBoard::Axis::Zoom), 3000);

    // The iris slider speaks in steps of 55 board units.
    releaseSlider("hs_motor3", 10);
    QTRY_COMPARE(tavroPosition(TavroBoard::Axis::Iris), 550);

    click("pb_refresh");
    QCOMPARE(widget<QLineEdit>("le_motor1")->text(), QStringLiteral("3000"));
    QCOMPARE(widget<QLineEdit>("le_motor3")->text(), QStringLiteral("10"));
}

void TestEndToEnd::pellanSaveCalibratesTheFocusRange()
{
    startBoard(std::make_unique<PellanBoard>(), MainWindow::USM_CONTROLLER);
    save();

    // Calibration found the mechanical ends: focus 0 is the near end, and the
    // range stops 100 raw steps short of the far end.
    QCOMPARE(m_pauses, (QList<unsigned long>{8000, 8000}));
    QCOMPARE(widget<QSlider>("hs_motor2")->maximum(),
             (PellanBoard::farEnd - PellanBoard::nearEnd - 100) / 10);
    QCOMPARE(widget<QLineEdit>("le_motor2")->text(), QStringLiteral("0"));
    QCOMPARE(pellanRaw(), PellanBoard::nearEnd);
    QVERIFY(!widget<QSlider>("hs_motor1")->isEnabled());
    QCOMPARE(widget<QPushButton>("pb_storeInDevice")->text(), QStringLiteral("Store presets"));

    releaseSlider("hs_motor2", 2000);
    QTRY_COMPARE(pellanRaw(), PellanBoard::nearEnd + 20000);
}

void TestEndToEnd::pellanPresetSurvivesStoreAndNewDriver()
{
    startBoard(std::make_unique<PellanBoard>(), MainWindow::USM_CONTROLLER);
    save();

    releaseSlider("hs_motor2", 2000);
    QTRY_COMPARE(pellanRaw(), PellanBoard::nearEnd + 20000);
    click("pb_storePreset3");

    releaseSlider("hs_motor2", 100);
    QTRY_COMPARE(pellanRaw(), PellanBoard::nearEnd + 1000);
    click("pb_callPreset3");
    QTRY_COMPARE(pellanRaw(), PellanBoard::nearEnd + 20000);

    click("pb_storeInDevice");
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane"),
                    QStringLiteral("Tavro Lens Controller"));
    QCOMPARE(store.value(QStringLiteral("preset/2")).toInt(), 2000);

    // A new Save puts a new driver in service, which calibrates (the focus goes
    // to the near end) and loads the presets from the store.
    click("pb_settingsMultiButton");
    save();
    QCOMPARE(pellanRaw(), PellanBoard::nearEnd);
    click("pb_callPreset3");
    QTRY_COMPARE(pellanRaw(), PellanBoard::nearEnd + 20000);
    QCOMPARE(m_reports, QStringList());
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
