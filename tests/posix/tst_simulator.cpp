// The simulated boards on their own and on a pseudo-terminal, and lens-board-sim as a child process.

#include "boardsimulator.h"
#include "pellanboard.h"
#include "tavroboard.h"

#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

using Axis = TavroBoard::Axis;

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Sends a frame; returns the bursts of the reply in hex, split where the line went quiet.
QString exchange(QSerialPort &port, const QByteArray &frame, int firstWaitMs = 2000, int gapMs = 600)
{
    port.write(QByteArray::fromHex(frame));
    port.waitForBytesWritten(2000);
    QStringList bursts;
    for (int waitMs = firstWaitMs; port.waitForReadyRead(waitMs); waitMs = gapMs) {
        QByteArray burst = port.readAll();
        while (port.waitForReadyRead(20)) // a burst may arrive in pieces
            burst += port.readAll();
        bursts << QString::fromLatin1(burst.toHex());
    }
    return bursts.join(QLatin1Char(' '));
}

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void answersOnlySoundFrames_data();
    void answersOnlySoundFrames();
    void tavroMovesTravelAndClamp();
    void tavroRunsStopAtTheirStopFrame();
    void tavroPresetsAndCalibration();
    void tavroStoreInDevicePersists();
    void pellanMovesFromWhereItIsToTheEnds();
    void faultsAsTheDriversSeeThem_data();
    void faultsAsTheDriversSeeThem();
    void servesOnItsLinkAndEndsCleanly();
    void refusesBadArguments();
};

void TestSimulator::answersOnlySoundFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");
    // Tavro: zoom 3675, lens type 1, zoom range 7350 at start.
    const char *const rows[][2] = {
        {"ff000020000020", "00"}, {"ff000003000a00", "00"}, {"ff000027000200", "00"}, {"fe04000003e800", "00"},
        {"fe070000000202", "00"}, {"fe130000000100", "00"}, {"fe080000000000", "005b0e0000"},
        {"fe100000000000", "0001"}, {"fe150000000000", "00b61c0000"}, {"ff000040000040", "01"},
        {"ff010020000021", "01"}, {"ff000003000b00", "01"}, {"ff000025000300", "01"}, {"fe020000000000", "01"},
        {"fe080000000001", "01"}, {"fe070000000203", "01"}, {"00080000000000", "01"}, {"fe08000000", "01"},
        // Pellan: move echoed, status at 20000, illegal function; bad CRC, payload or slave: silence.
        {"01640100000051000003e80000006c77", "01640100000051000003e80000006c77"},
        {"01650000000000000000000000002665", "016500000000000000004e2000003087"},
        {"0103000000000000000000000000ae03", "01830180f0"}, {"01640100000051000003e80000006c78", ""},
        {"01640100000052000003e80000006c77", ""}, {"02650000000000000000000000002566", ""}};
    for (const auto &row : rows)
        QTest::newRow(row[0]) << hex(row[0]) << hex(row[1]);
}

void TestSimulator::answersOnlySoundFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    TavroBoard tavro;
    PellanBoard pellan;
    BoardModel &board = frame.size() == PellanBoard::frameSize ? static_cast<BoardModel &>(pellan) : tavro;
    QCOMPARE(board.handleFrame(frame, 0).toHex(), reply.toHex());
    QCOMPARE(pellan.isRunning(100), reply.startsWith(hex("0164")));
    if (reply == hex("01")) // refused, not acted on
        QCOMPARE(std::tuple(tavro.target(Axis::Zoom), tavro.settings().lensType, tavro.settings().presets),
                 std::tuple(3675, 1, TavroSettings().presets));
}

// Zoom and focus at 1500, 3000, 6000 units/s by speed level; iris at 2750.
void TestSimulator::tavroMovesTravelAndClamp()
{
    TavroBoard board;
    // Zoom level 2, focus level 0; zoom to 0, focus to 4000, iris to 5500.
    for (const char *frame : {"ff000025000200", "ff000027000000", "fe040000000000", "fe0500000fa000", "fe060000157c00"})
        QCOMPARE(board.handleFrame(hex(frame), 0), hex("00"));
    QCOMPARE(board.handleFrame(hex("fe080000000000"), 250).toHex(), QByteArray("007f080000")); // 2175
    QCOMPARE(board.position(Axis::Focus, 500), 2000 + 750);
    QCOMPARE(board.position(Axis::Iris, 400), 2750 + 1100);
    for (const char *move : {"fe04ffffffff00", "fe057fffffff00", "fe0600001f4000"}) // -1, 2^31-1, 8000
        board.handleFrame(hex(move), 1000);
    for (const auto &[axis, end] : {std::pair{Axis::Zoom, 0}, {Axis::Focus, 4000}, {Axis::Iris, 5500}})
        QCOMPARE(board.position(axis, 60000), end);
}

void TestSimulator::tavroRunsStopAtTheirStopFrame()
{
    TavroBoard board; // speed level 1: 3000 units/s
    for (const char *run : {"ff000020000020", "ff000100000001", "ff000200000002"}) // tele, near, open
        board.handleFrame(hex(run), 0);
    QCOMPARE(board.handleFrame(hex("ff000000000000"), 200), hex("00")); // stops focus and iris
    QCOMPARE(board.position(Axis::Focus, 2000), 2000 - 600);
    QCOMPARE(board.position(Axis::Iris, 2000), 2750 + 550);
    QCOMPARE(board.handleFrame(hex("ff000000000020"), 1000), hex("00")); // stops zoom
    QCOMPARE(board.position(Axis::Zoom, 9000), 6675);
    board.handleFrame(hex("ff000040000020"), 10000); // wide, to the end
    QCOMPARE(board.position(Axis::Zoom, 30000), 0);
}

void TestSimulator::tavroPresetsAndCalibration()
{
    TavroBoard board;
    for (const char *move : {"fe04000003e800", "fe0500000bb800", "fe06000001f400"}) // 1000, 3000, 500
        board.handleFrame(hex(move), 0);
    QCOMPARE(board.handleFrame(hex("ff000003000300"), 10000), hex("00")); // set preset 3
    for (const char *move : {"fe0400001b5800", "fe050000000000", "fe060000138800"}) // 7000, 0, 5000
        board.handleFrame(hex(move), 10000);
    QCOMPARE(board.handleFrame(hex("ff000007000300"), 20000), hex("00")); // go to preset 3
    for (const auto &[axis, stored] : {std::pair{Axis::Zoom, 1000}, {Axis::Focus, 3000}, {Axis::Iris, 500}})
        QCOMPARE(board.position(axis, 30000), stored);

    board.handleFrame(hex("ff000020000020"), 30000); // a run that calibration ends
    QCOMPARE(board.handleFrame(hex("fe0f0000000000"), 30000), hex("00"));
    const qint64 done = 30000 + TavroBoard::calibrationMs;
    QVERIFY(board.position(Axis::Zoom, done - 500) > 0);
    for (const Axis axis : {Axis::Zoom, Axis::Focus, Axis::Iris})
        QCOMPARE(board.position(axis, done), 0);
    QCOMPARE(board.position(Axis::Zoom, done + 60000), 0);
}

void TestSimulator::tavroStoreInDevicePersists()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tavro-board.ini"));
    {
        TavroBoard board(TavroSettings::load(path));
        board.setStoreHandler([&](const TavroSettings &settings) { QVERIFY(settings.save(path)); });
        // Lens type 3, sensitivity 1, stall detection off, zoom speed 2, preset 10; store; lens type 5.
        for (const char *frame : {"fe070000000303", "fe0b0000000100", "fe130000000100", "ff000025000200",
                                  "ff000003000a00", "fe110000000000", "fe070000000505"})
            board.handleFrame(hex(frame), 0);
    }
    TavroBoard board(TavroSettings::load(path));
    const TavroSettings &stored = board.settings();
    QCOMPARE(std::tuple(stored.lensType, stored.sensitivityMode, stored.stallDetectionDisabled, stored.zoomSpeed),
             std::tuple(3, 1, true, 2));
    QCOMPARE(stored.presets[9], (TavroPreset{3675, 2000, 2750}));
}

// Speed 81: 8100 raw steps per second.
void TestSimulator::pellanMovesFromWhereItIsToTheEnds()
{
    PellanBoard board;
    const QByteArray farther = hex("016401000000510000bd740000006a3c"); // +48500
    const QByteArray step = hex("01640100000051000003e80000006c77"); // +1000
    board.handleFrame(farther, 0);
    QCOMPARE(board.handleFrame(hex("01650000000000000000000000002665"), 1000).toHex(),
             QByteArray("016500ff0000000000006dc400004823")); // running, at 28100
    board.handleFrame(step, 1000);
    QCOMPARE(board.rawPosition(5000), 29100);
    board.handleFrame(hex("01640100000051ffff428c0000005448"), 5000); // -48500
    QCOMPARE(board.rawPosition(15000), PellanBoard::nearEnd);
    board.handleFrame(farther, 15000);
    board.handleFrame(step, 25000);
    QCOMPARE(board.rawPosition(26000), PellanBoard::farEnd);
}

void TestSimulator::faultsAsTheDriversSeeThem_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("zoomTarget");
    const auto row = [](const char *frame, const char *fault, const char *expected, int zoom = 3675) {
        QTest::addRow("%s %s", frame, fault) << QByteArray(frame) << QString::fromLatin1(fault)
                                             << QString::fromLatin1(expected) << zoom;
    };
    row("fe080000000000", "no-reply", "");
    row("fe080000000000", "rejected", "01");
    row("fe080000000000", "split-reply", "005b0e 0000");
    row("fe080000000000", "short-reply", "005b0e00");
    row("fe080000000000", "trailing-bytes", "005b0e0000a55aa55a");
    row("fe080000000000", "random-bytes", "(?!00)[0-9a-f]{10}");
    row("fe080000000000", "wrong-echo", "005b0e00ff");
    row("fe04000003e800", "no-reply", "");
    row("fe04000003e800", "short-reply", "", 1000);
    row("01650000000000000000000000002665", "rejected", "01e5046b53");
    row("01640100000051000000000000001dd7", "wrong-echo", "01640100000051000000000000001d28");
}

void TestSimulator::faultsAsTheDriversSeeThem()
{
    QFETCH(QByteArray, frame);
    QFETCH(QString, fault);
    QFETCH(QString, expected);
    QFETCH(int, zoomTarget);
    const bool pellan = frame.size() == 2 * PellanBoard::frameSize;
    BoardSimulator simulator(pellan ? std::unique_ptr<BoardModel>(new PellanBoard) : std::make_unique<TavroBoard>());
    QSerialPort port(simulator.portName());
    QVERIFY(port.open(QIODevice::ReadWrite));
    port.setBaudRate(pellan ? 115200 : 19200);
    simulator.setFault(simFaultFromName(fault).value(), 1);

    const QString got = exchange(port, frame, expected.isEmpty() ? 3 * BoardSimulator::resyncIdleMs : 2000);
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(expected)).match(got).hasMatch(),
             qPrintable(got));
    if (!pellan) // refused and ignored frames are not acted on
        QCOMPARE(simulator.withBoard<TavroBoard>([](TavroBoard &b, qint64) { return b.target(Axis::Zoom); }),
                 zoomTarget);
    // The fault was for one reply only.
    QCOMPARE(exchange(port, pellan ? "01650000000000000000000000002665" : "fe100000000000"),
             pellan ? "016500000000000000004e2000003087" : "0001");
}

void TestSimulator::servesOnItsLinkAndEndsCleanly()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyTAVRO"));
    const QString state = dir.filePath(QStringLiteral("tavro-board.ini"));
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + "/lens-board-sim",
                  {"--board", "tavro", "--link", link, "--state", state});
    QTRY_VERIFY(process.canReadLine());
    const QString device = QString::fromLocal8Bit(process.readLine()).trimmed();
    QVERIFY(device.startsWith(QLatin1String("/dev/")));
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);

    QSerialPort port(link);
    QVERIFY(port.open(QIODevice::ReadWrite));
    QCOMPARE(exchange(port, "fe080000000000"), "005b0e0000");
    QCOMPARE(exchange(port, "fe110000000000"), "00"); // stores to the state file
    QVERIFY(QFile::exists(state));

    ::kill(pid_t(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestSimulator::refusesBadArguments()
{
    for (const QString &arguments : {"", "--board nonsense", "--board tavro --board pellan", "--link /tmp/x",
                                     "--board tavro --fault melt", "--board tavro --baud 9600"}) {
        QProcess process;
        process.start(QCoreApplication::applicationDirPath() + "/lens-board-sim",
                      arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        QVERIFY(process.waitForFinished(5000));
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 2, qPrintable(arguments));
    }
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
