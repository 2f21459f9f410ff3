// The window with the real drivers, each against a simulated board on a
// pseudo-terminal: what the operator does ends up on the wire and moves the
// simulated motors. The line delivers as a USB serial adapter does (at the
// baud rate, what crossed in each 1 ms); the flows that operate the motors run
// again with every reply in 1-byte pieces 1 ms apart.

#include "boardsimulator.h"
#include "controller_tavro.h"
#include "controller_usm.h"
#include "driversetup.h"
#include "lensprofile.h"
#include "lenswindow.h"
#include "pellanboard.h"
#include "simfault.h"
#include "startconfig.h"
#include "tavroboard.h"
#include "tracedecoder.h"
#include "tracefile.h"
#include "trafficmodel.h"
#include "trafficwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>
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

// The frames a board got, in hex.
QStringList words(const QList<QByteArray> &frames)
{
    QStringList hexes;
    for (const QByteArray &frame : frames)
        hexes << QString::fromLatin1(frame.toHex());
    return hexes;
}

LineDelivery onePieceEveryMs()
{
    LineDelivery delivery;
    delivery.pieceBytes = 1;
    return delivery;
}

} // namespace

Q_DECLARE_METATYPE(LineDelivery)

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tavroOperatesTheMotors_data() { deliveries(); }
    void tavroOperatesTheMotors();
    void pellanOperatesTheFocus_data() { deliveries(); }
    void pellanOperatesTheFocus();
    void tavroLivePositions();
    void tavroFoundAgainByStableName();
    void tavroTrafficIsListedAndTraced();
    void tavroMeasuresSpeeds_data();
    void tavroMeasuresSpeeds();

private:
    static void deliveries();
    void startBoard(std::unique_ptr<BoardModel> board, BoardType controllerType,
                    const LineDelivery &delivery = LineDelivery());
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
    QString text(const char *lineEdit) const { return widget<QLineEdit>(lineEdit)->text(); }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<DriverSetup> m_setup;
    std::unique_ptr<BoardSimulator> m_sim;
    std::unique_ptr<MainWindow> m_window;
};

void TestEndToEnd::init()
{
    QStandardPaths::setTestModeEnabled(true);
    m_folder = enterFreshFolder();
    QVERIFY(m_folder);
    m_setup = std::make_unique<DriverSetup>(ControllerTavro::timeouts(), ControllerUSM::timeouts(), kTimeScale);
}

void TestEndToEnd::cleanup()
{
    m_window.reset();
    m_sim.reset();
    m_setup.reset();
    QDir::setCurrent(QDir::tempPath());
    m_folder.reset();
}

void TestEndToEnd::deliveries()
{
    QTest::addColumn<LineDelivery>("delivery");
    QTest::newRow("line") << LineDelivery();
    QTest::newRow("1-byte pieces 1 ms apart") << onePieceEveryMs();
}

void TestEndToEnd::startBoard(std::unique_ptr<BoardModel> board, BoardType controllerType, const LineDelivery &delivery)
{
    m_sim = std::make_unique<BoardSimulator>(std::move(board));
    QVERIFY2(m_sim->isOpen(), qPrintable(m_sim->errorString()));
    m_sim->setTimeScale(kTimeScale);
    m_sim->setLineDelivery(delivery);
    prepareStart(controllerType, m_sim->portName());
    m_window = std::make_unique<LensWindow>();
    m_window->show();
}

void TestEndToEnd::save()
{
    click("pb_settingsMultiButton");
    QCOMPARE(m_setup->texts(), QStringList());
    QCOMPARE(widget<QPushButton>("pb_settingsMultiButton")->text(), QStringLiteral("Edit Settings"));
}

void TestEndToEnd::releaseSlider(const char *name, int value)
{
    QSlider *slider = widget<QSlider>(name);
    slider->setSliderDown(true);
    slider->setValue(value);
    slider->setSliderDown(false);
    QTRY_VERIFY_WITH_TIMEOUT(m_window->isIdle(), 20000);
}

// Clicks and waits until the board has heard all of it.
void TestEndToEnd::click(const char *name)
{
    QTest::mouseClick(widget<QPushButton>(name), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(m_window->isIdle(), 20000);
}

void TestEndToEnd::tavroOperatesTheMotors()
{
    QFETCH(LineDelivery, delivery);
    startBoard(std::make_unique<TavroBoard>(), BoardType::Tavro, delivery);
    save();
    // The probe, the set-up with the long-cable mode read back, calibration, speeds, positions and ranges.
    QCOMPARE(words(m_sim->frames()), QString("fe100000000000 fe070000000101 fe130000000000 fe0b0000000000 "
                                             "fe0c0000000000 fe0f0000000000 ff000025000000 ff000027000000 "
                                             "fe080000000000 fe090000000000 fe0a0000000000 fe150000000000 "
                                             "fe140000000000").split(' '));
    // Ranges and positions as the board has them, the iris always in 0..100 (steps of 55 board units).
    QCOMPARE(QList<int>({widget<QSlider>("hs_motor1")->maximum(), widget<QSlider>("hs_motor2")->maximum(),
                         widget<QSlider>("hs_motor3")->maximum()}),
             QList<int>({TavroBoard::zoomMaximum, TavroBoard::focusMaximum, 100}));
    QCOMPARE(QStringList({text("le_motor1"), text("le_motor2"), text("le_motor3")}),
             QStringList({QString::number(tavroPosition(TavroBoard::Axis::Zoom)),
                          QString::number(tavroPosition(TavroBoard::Axis::Focus)),
                          QString::number(tavroPosition(TavroBoard::Axis::Iris) / 55)}));
    const int before = m_sim->frameCount();
    m_setup->pauses.clear();

    releaseSlider("hs_motor1", 3000);
    QCOMPARE(m_sim->frames().mid(before), QList<QByteArray>{hex("fe0400000bb800")});
    QCOMPARE(m_setup->pauses, QList<unsigned long>{500});
    QTRY_COMPARE(tavroPosition(TavroBoard::Axis::Zoom), 3000);

    // A run goes on until STOP, which shows where the motor stopped.
    click("pb_zoomWide");
    QTRY_VERIFY(tavroPosition(TavroBoard::Axis::Zoom) < 3000);
    click("pb_zoomStop");
    const int stopped = tavroPosition(TavroBoard::Axis::Zoom);
    QCOMPARE(m_sim->withBoard<TavroBoard>([](TavroBoard &b, qint64) { return b.target(TavroBoard::Axis::Zoom); }),
             stopped);
    QCOMPARE(text("le_motor1"), QString::number(stopped));

    // Calibrate All: the board drives every motor to 0 while the window waits.
    m_setup->pauses.clear();
    click("pb_calibrateAll");
    QCOMPARE(m_setup->pauses, QList<unsigned long>{8000});
    QCOMPARE(m_sim->frames().last(), hex("fe140000000000"));
    QCOMPARE(QStringList({text("le_motor1"), text("le_motor2"), text("le_motor3")}), QStringList({"0", "0", "0"}));
    QCOMPARE(widget<QSlider>("hs_motor1")->maximum(), TavroBoard::zoomMaximum);
    QCOMPARE(m_setup->texts(), QStringList());
}

void TestEndToEnd::pellanOperatesTheFocus()
{
    QFETCH(LineDelivery, delivery);
    startBoard(std::make_unique<PellanBoard>(), BoardType::Pellan, delivery);
    save();
    // The probe, then the calibration: to the far end, read, to the near end, stop, and three reads, the
    // last two of the range just measured; then the window reads the focus.
    const QString status = QStringLiteral("01650000000000000000000000002665");
    QCOMPARE(words(m_sim->frames()), QStringList({status, "016401000000510000bd740000006a3c", status,
                                                  "01640100000051ffff428c0000005448",
                                                  "01640100000051000000000000001dd7", status, status, status,
                                                  status}));
    // Its calibration found the mechanical ends: focus 0 is the near end, and the
    // range stops 100 raw steps short of the far end.
    QCOMPARE(m_setup->pauses, (QList<unsigned long>{8000, 8000}));
    QCOMPARE(widget<QSlider>("hs_motor2")->maximum(), (PellanBoard::farEnd - PellanBoard::nearEnd - 100) / 10);
    QCOMPARE(pellanRaw(), PellanBoard::nearEnd);

    releaseSlider("hs_motor2", 2000);
    QTRY_COMPARE(pellanRaw(), PellanBoard::nearEnd + 20000);
    // The driver keeps the presets; Store presets makes them last, for the next driver.
    click("pb_storePreset3");
    click("pb_storeInDevice");

    // Calibrate All measures the range again and leaves the focus at the near end.
    m_setup->pauses.clear();
    click("pb_calibrateAll");
    QCOMPARE(m_setup->pauses, (QList<unsigned long>{8000, 8000, 8000}));
    QCOMPARE(pellanRaw(), PellanBoard::nearEnd);
    QCOMPARE(text("le_motor2"), QStringLiteral("0"));
    QCOMPARE(widget<QSlider>("hs_motor2")->maximum(), (PellanBoard::farEnd - PellanBoard::nearEnd - 100) / 10);

    // A new Save puts a new driver in service, which calibrates (the focus goes
    // to the near end) and loads the presets from the store.
    click("pb_settingsMultiButton");
    save();
    QCOMPARE(pellanRaw(), PellanBoard::nearEnd);
    click("pb_callPreset3");
    QTRY_COMPARE(pellanRaw(), PellanBoard::nearEnd + 20000);
    QCOMPARE(m_setup->texts(), QStringList());
}

void TestEndToEnd::tavroLivePositions()
{
    startBoard(std::make_unique<TavroBoard>(), BoardType::Tavro);
    save();
    m_sim->setTimeScale(1); // the zoom crosses its range in about 5 s
    const QByteArray readZoom = hex("fe080000000000"), stopZoom = hex("ff000000000020");
    int mark = m_sim->frameCount();
    const auto since = [&] { return m_sim->frames().mid(mark); };

    // Off: nothing is read from run to STOP. On: nothing while no motor runs.
    click("pb_zoomTele");
    QTest::qWait(500);
    QCOMPARE(since(), QList<QByteArray>{hex("ff000020000020")});
    click("pb_zoomStop");
    widget<QAction>("action_livePositions")->setChecked(true);
    QVERIFY(QSettings(QStringLiteral("config.ini"), QSettings::IniFormat).value("view/livePositions").toBool());
    mark = m_sim->frameCount();
    QTest::qWait(300);
    QCOMPARE(since(), QList<QByteArray>());

    // A running motor is read at least five times a second, and shown.
    const int stopped = text("le_motor1").toInt();
    click("pb_zoomTele");
    QTest::qWait(1000);
    QVERIFY2(since().count(readZoom) >= 5, qPrintable(QString::number(since().count(readZoom))));
    QVERIFY(text("le_motor1").toInt() > stopped);

    // A click on STOP while a read waits for the board is carried out right after the read.
    LineDelivery slow;
    slow.reaction = std::chrono::milliseconds(150);
    m_sim->setLineDelivery(slow);
    mark = m_sim->frameCount();
    bool waitCursor = true;
    QTimer duringRead;
    connect(&duringRead, &QTimer::timeout, [&] {
        if (m_sim->frameCount() == mark)
            return;
        duringRead.stop();
        waitCursor = QApplication::overrideCursor() != nullptr;
        click("pb_zoomStop");
    });
    duringRead.start(5);
    QTRY_COMPARE(since(), (QList<QByteArray>{readZoom, stopZoom, readZoom}));
    QVERIFY(!waitCursor);
    QCOMPARE(text("le_motor1"), QString::number(tavroPosition(TavroBoard::Axis::Zoom)));

    // Failed reads leave the display and report nothing; the reads go on.
    m_sim->setLineDelivery(LineDelivery());
    click("pb_zoomTele");
    m_sim->setFault(SimFault::Rejected, 3);
    mark = m_sim->frameCount();
    const QString shown = text("le_motor1");
    QTRY_COMPARE(since().size(), 2);
    QCOMPARE(text("le_motor1"), shown);
    QTRY_VERIFY(text("le_motor1") != shown);
    m_sim->disconnectLine();
    QTest::qWait(300);
    QCOMPARE(m_setup->texts(), QStringList());
}

// What a Save, a Refresh and a rejected Store in device sent and got back, as
// the traffic window lists it and as the tool reads it from the trace file.
// Saved by its stable name, the board is found again once its adapter has come
// back as another device: the link then points to a second board.
void TestEndToEnd::tavroFoundAgainByStableName()
{
    const QString byId = QDir::current().absoluteFilePath(QStringLiteral("by-id"));
    const QString link = byId + QStringLiteral("/usb-Sim_Tavro-if00-port0");
    qputenv("TAVRO_SERIAL_BY_ID", QFile::encodeName(byId));
    m_sim = std::make_unique<BoardSimulator>(std::make_unique<TavroBoard>());
    QVERIFY(QDir().mkdir(byId) && QFile::link(m_sim->portName(), link));
    prepareStart(BoardType::Tavro, link);
    m_window = std::make_unique<MainWindow>();
    save();
    QCOMPARE(QSettings(QStringLiteral("config.ini"), QSettings::IniFormat).value("serialPort/lastSelected"), link);

    const BoardSimulator second(std::make_unique<TavroBoard>());
    QVERIFY(QFile::remove(link) && QFile::link(second.portName(), link));
    const int before = m_sim->frameCount();
    click("pb_refresh");
    QCOMPARE(m_sim->frameCount(), before);
    QVERIFY(second.frames().contains(hex("fe080000000000"))); // the zoom position
    QCOMPARE(m_setup->texts(), QStringList());
    qunsetenv("TAVRO_SERIAL_BY_ID");
}

void TestEndToEnd::tavroTrafficIsListedAndTraced()
{
    const QString tracePath = m_folder->filePath(QStringLiteral("trace.log"));
    auto trace = std::make_unique<TraceFile>(tracePath);
    QSettings(QStringLiteral("config.ini"), QSettings::IniFormat).setValue(QStringLiteral("presets/speed2"), 3);
    startBoard(std::make_unique<TavroBoard>(), BoardType::Tavro);
    m_window->findChild<QAction *>(QStringLiteral("action_traffic"))->trigger();
    auto *traffic = m_window->findChild<TrafficWindow *>();
    QVERIFY(traffic && traffic->isVisible());
    save();
    click("pb_refresh");
    // A preset at its own speed; the panel's zoom speed goes out again right before the zoom runs.
    click("pb_callPreset2");
    click("pb_zoomTele");
    m_sim->setFault(SimFault::Rejected);
    click("pb_storeInDevice");

    // Every exchange is listed: the Save's thirteen and the Refresh's three, then these.
    const QStringList expected{"set zoom speed high -> OK", "set focus speed high -> OK", "call preset 2 -> OK",
                               "set zoom speed low -> OK", "zoom tele -> OK", "store in device -> rejected (status 01)"};
    TrafficModel *model = traffic->model();
    QTRY_COMPARE(model->rowCount(), 16 + int(expected.size()));
    QStringList listed;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QStringList texts = model->rowTexts(row);
        listed << texts.at(TrafficModel::SentMeaning) + " -> " + texts.at(TrafficModel::ReceivedMeaning);
        QCOMPARE(texts.at(TrafficModel::Outcome), row + 1 < model->rowCount() ? "OK" : "rejected");
    }
    QCOMPARE(listed.mid(16), expected);

    // The tool reads the same from the trace file.
    trace.reset();
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QCOMPARE(TraceDecoder(outStream, errStream).run(std::nullopt, {tracePath}), int(TraceDecoder::AllUnderstood));
    QCOMPARE(err, QString());
    QStringList decoded;
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        decoded << line.section(QStringLiteral("  Tavro  "), 1).remove(QRegularExpression(QStringLiteral(" \\[[^]]*\\]")));
    QCOMPARE(decoded, listed);
}

// Lens ▸ Measure speeds… on a profile whose limits lie close together, the
// board at real time. Measured, the speeds go into the profile's file with
// every other key kept, and a recall time works at once; called off by Cancel
// or by the window's close, the motor on its way stands at once, short of its
// end, and the file is as it was.
void TestEndToEnd::tavroMeasuresSpeeds_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("measured") << "measured";
    QTest::newRow("cancelled") << "pb_cancelMeasurement";
    QTest::newRow("window closed") << "close";
}

void TestEndToEnd::tavroMeasuresSpeeds()
{
    QFETCH(QString, end);
    LensProfileData data = LensProfile::readFile(QStringLiteral(TAVRO_PROFILES "/tavro-18x.json")).profile->data();
    data.limits = {{{{1000, 1400}}, {{1000, 1400}}, {{1000, 1400}}}};
    data.speeds = {};
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("lens.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(data.toJson()) > 0);
    file.close();
    QSettings config(QStringLiteral("config.ini"), QSettings::IniFormat);
    config.setValue(QStringLiteral("lens/profile/tavro"), path);
    config.setValue(QStringLiteral("presets/seconds1"), 2);
    config.sync();
    startBoard(std::make_unique<TavroBoard>(), BoardType::Tavro);
    save();
    m_sim->setTimeScale(1);
    widget<QAction>("action_measureSpeeds")->trigger();
    if (end != QLatin1String("measured")) {
        QTRY_VERIFY(tavroPosition(TavroBoard::Axis::Zoom) > 1050 && tavroPosition(TavroBoard::Axis::Zoom) < 1300);
        if (end == QLatin1String("close"))
            m_window->close();
        else
            widget<QPushButton>(qPrintable(end))->click();
        QTRY_VERIFY(m_window->isIdle() && m_window->isVisible() == (end != QLatin1String("close")));
        const int stood = tavroPosition(TavroBoard::Axis::Zoom);
        QTest::qWait(300);
        QCOMPARE(tavroPosition(TavroBoard::Axis::Zoom), stood);
        QVERIFY2(stood < 1350, qPrintable(QString::number(stood)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), data.toJson());
        QCOMPARE(m_setup->texts(), QStringList());
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(m_window->isIdle(), 30000);
    QCOMPARE(m_setup->texts(), QStringList());
    QVERIFY(m_window->statusBar()->currentMessage().startsWith(QLatin1String("Speeds measured in ")));
    LensProfileData after = LensProfile::readFile(path).profile->data();
    QCOMPARE(after.speeds[0].size() * 100 + after.speeds[1].size() * 10 + after.speeds[2].size(), size_t(331));
    after.speeds = {};
    QCOMPARE(after.toJson(), data.toJson());
    // Refused without speeds, with a box; with them, a recall of the board's own.
    click("pb_callPreset1");
    QCOMPARE(m_setup->texts(), QStringList());
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
