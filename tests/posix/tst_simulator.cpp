// The simulated boards on their own and on a pseudo-terminal, and lens-board-sim as a child process.

#include "boardsimulator.h"
#include "pellanboard.h"
#include "tavroboard.h"

#include <QElapsedTimer>
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

// Sends a frame; returns the bursts of the reply in hex, split where the line
// went quiet.
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

// For each piece of a reply, as the board sends it: the bytes sent so far and
// the earliest they can arrive, in ms after the frame was sent. Written in the
// tables as "bytes@ms bytes@ms ...".
using Schedule = QList<std::pair<qsizetype, double>>;

Schedule parseSchedule(const QString &text)
{
    Schedule schedule;
    for (const QString &entry : text.split(QLatin1Char(' '))) {
        const QStringList parts = entry.split(QLatin1Char('@'));
        schedule.append({parts.at(0).toInt(), parts.at(1).toDouble()});
    }
    return schedule;
}

// Sends a frame and reads the reply to it, which the board sends as schedule
// says; returns each piece as read, with the ms since just before sending.
// Fails the test if a byte comes before it could have crossed the line, if a
// piece was split on the way (pieces can only merge), or if bytes are missing.
QList<std::pair<QByteArray, double>> readInPieces(QSerialPort &port, const QByteArray &frame, const Schedule &schedule)
{
    QElapsedTimer timer;
    timer.start();
    port.write(frame);
    port.waitForBytesWritten(2000);
    QList<std::pair<QByteArray, double>> pieces;
    qsizetype total = 0;
    while (total < schedule.last().first && port.waitForReadyRead(2000)) {
        pieces.append({port.readAll(), double(timer.nsecsElapsed()) / 1e6});
        total += pieces.last().first.size();
        const auto due = std::find_if(schedule.cbegin(), schedule.cend(),
                                      [total](const auto &piece) { return piece.first == total; });
        if (due == schedule.cend() || pieces.last().second < due->second) {
            QTest::qFail(qPrintable(QStringLiteral("%1 bytes at %2 ms").arg(total).arg(pieces.last().second)),
                         __FILE__, __LINE__);
            return pieces;
        }
    }
    if (total != schedule.last().first)
        QTest::qFail(qPrintable(QStringLiteral("%1 of %2 bytes").arg(total).arg(schedule.last().first)), __FILE__,
                     __LINE__);
    return pieces;
}

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void answersOnlySoundFrames_data();
    void answersOnlySoundFrames();
    void motionAgainstTime_data();
    void motionAgainstTime();
    void tavroPresetsAndCalibration();
    void faultsAsTheDriversSeeThem_data();
    void faultsAsTheDriversSeeThem();
    void servesOnItsLinkAndEndsCleanly_data();
    void servesOnItsLinkAndEndsCleanly();
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

// Frames given to a board at chosen times ("ms frame; ..."), then its motors
// read at chosen times ("ms key=value ..."), after the frames before them: z, f, i and p (Pellan) are motor
// positions, Z, F, I and P the lens parts behind them, r the Pellan running
// flag. The medium level is 3000 units/s, reached in 50 ms (75 units).
void TestSimulator::motionAgainstTime_data()
{
    QTest::addColumn<int>("backlash");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QString>("reads");
    const auto row = [](const char *name, int backlash, const char *frames, const char *reads) {
        QTest::newRow(name) << backlash << QString::fromLatin1(frames) << QString::fromLatin1(reads);
    };
    row("goto 3000: slow start, full speed, slow arrival exactly on it; a run reversed halts first", 0,
        "0 fe0500000bb800; 0 ff000020000020; 100 ff000040000020; 150 ff000000000020",
        "25 f=2018; 50 f=2048; 101 z=3806; 150 z=3750; 200 f=2228; 845 f=2998; 854 f=3000; 5000 f=3000 z=3750");
    row("low 300/s and high 4000/s, 67 ms to full speed", 0,
        "0 ff000027000000; 0 fe0500000fa000; 2000 ff000027000200; 2000 fe050000000000",
        "525 f=2157; 1025 f=2307; 2100 f=2332; 2300 f=1532; 2690 f=21; 2750 f=0");
    row("speed frame mid-move: on to the same target at the new speed", 0, "0 fe0500000fa000; 200 ff000027000200",
        "201 f=2229; 250 f=2363; 350 f=2763; 670 f=3985; 710 f=4000");
    row("runs at full speed into the end stop; stop frames halt at once", 0,
        "0 ff000020000020; 0 ff000100000001; 0 ff000200000002; 200 ff000000000000",
        "201 f=1772 i=3237; 900 f=1772 i=3237; 2440 z=7316; 2470 z=7350; 9000 z=7350");
    row("backlash 40: the lens lags after a reversal, not on the same way", 40,
        "0 fe0500000bb800; 1000 fe05000009c400; 2000 fe05000007d000; 3000 fe05000007ee00; 4000 fe050000083400",
        "1000 f=3000 F=3000; 2000 f=2500 F=2540; 3000 f=2000 F=2040; 4000 f=2030 F=2040; 5000 f=2100 F=2100");
    row("pellan 8100/s from where it is, to both end stops", 0,
        "0 016401000000510000bd740000006a3c; 1000 01640100000051000003e80000006c77;"
        " 5000 01640100000051ffff428c0000005448; 15000 016401000000510000bd740000006a3c;"
        " 25000 01640100000051000003e80000006c77",
        "1000 p=27965 r=1; 5000 p=28965 r=0; 15000 p=1000; 26000 p=49500");
    row("pellan backlash 25", 25,
        "0 01640100000051000003e80000006c77; 1000 01640100000051fffffc180000005063",
        "1000 p=21000 P=21000; 2000 p=20000 P=20025");
}

void TestSimulator::motionAgainstTime()
{
    QFETCH(int, backlash);
    QFETCH(QString, frames);
    QFETCH(QString, reads);
    TavroBoard tavro;
    PellanBoard pellan;
    tavro.setBacklash(backlash);
    pellan.setBacklash(backlash);
    const auto at = [](const QString &entry) { return entry.section(QLatin1Char(' '), 0, 0).toLongLong(); };
    QStringList pending = frames.split(QLatin1String("; "));
    for (const QString &read : reads.split(QLatin1String("; "))) {
        const qint64 ms = at(read);
        for (; !pending.isEmpty() && at(pending.first()) < ms; pending.removeFirst()) {
            const QByteArray frame = hex(qPrintable(pending.first().section(QLatin1Char(' '), 1)));
            BoardModel &board = frame.size() == PellanBoard::frameSize ? static_cast<BoardModel &>(pellan) : tavro;
            QVERIFY(!board.handleFrame(frame, at(pending.first())).isEmpty());
        }
        for (const QString &value : read.section(QLatin1Char(' '), 1).split(QLatin1Char(' '))) {
            const QChar key = value.at(0);
            const Axis axis = key.toLower() == 'z' ? Axis::Zoom : key.toLower() == 'f' ? Axis::Focus : Axis::Iris;
            const int got = key == 'p' ? pellan.rawPosition(ms)
                : key == 'P'           ? pellan.lensPosition(ms)
                : key == 'r'           ? int(pellan.isRunning(ms))
                : key.isUpper()        ? tavro.lensPosition(axis, ms)
                                       : tavro.position(axis, ms);
            QVERIFY2(got == value.mid(2).toInt(), qPrintable(QStringLiteral("%1 at %2 ms").arg(got).arg(read)));
        }
    }
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

// The faults whose replies no driver test reads back byte for byte: a kinder
// simulator would let those tests pass on a line that never misbehaved.
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
    row("fe080000000000", "split-reply", "005b0e 0000");
    row("fe080000000000", "short-reply", "005b0e00");
    row("fe080000000000", "trailing-bytes", "005b0e0000a55aa55a");
    row("fe080000000000", "random-bytes", "(?!00)[0-9a-f]{10}");
    row("fe080000000000", "wrong-echo", "005b0e00ff");
    row("fe04000003e800", "short-reply", "", 1000);
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
    if (!pellan) // a damaged reply does not undo what the board did
        QCOMPARE(simulator.withBoard<TavroBoard>([](TavroBoard &b, qint64) { return b.target(Axis::Zoom); }),
                 zoomTarget);
    // The fault was for one reply only.
    QCOMPARE(exchange(port, pellan ? "01650000000000000000000000002665" : "fe100000000000"),
             pellan ? "016500000000000000004e2000003087" : "0001");
}

// lens-board-sim on its link, its replies paced as the options say: the frame
// takes 3.65 ms to cross at 19200 baud, 1.39 ms at 115200, and the reply as
// long again for its own bytes. It stores to its state file and ends cleanly.
void TestSimulator::servesOnItsLinkAndEndsCleanly_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("earliest"); // bytes in all@ms after sending, one entry per piece
    QTest::addColumn<int>("minimumPieces");
    const auto row = [](const char *options, const char *frame, const char *earliest, int minimumPieces) {
        QTest::newRow(options) << QString::fromLatin1(options) << hex(frame) << QString::fromLatin1(earliest)
                               << minimumPieces;
    };
    row("--board tavro", "fe080000000000", "1@4.646 3@5.646 5@6.646", 2);
    row("--board pellan", "01650000000000000000000000002665", "11@2.389 16@3.389", 2);
    row("--board tavro --piece-bytes 1 --piece-gap-ms 5", "fe080000000000", "1@4.167 2@9.167 3@14.167 4@19.167 5@24.167", 5);
    row("--board tavro --one-piece --reaction-ms 150 --backlash 40 --trace", "fe080000000000", "5@156.251", 1);
    row("--board tavro --piece-bytes 2 --piece-gap-ms 40.5 --reaction-ms 0.5", "fe080000000000",
        "2@5.188 4@45.688 5@86.188", 3);
}

void TestSimulator::servesOnItsLinkAndEndsCleanly()
{
    QFETCH(QString, options);
    QFETCH(QByteArray, frame);
    QFETCH(QString, earliest);
    QFETCH(int, minimumPieces);
    const Schedule schedule = parseSchedule(earliest);
    const bool pellan = options.contains("pellan");
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyLENS"));
    const QString state = dir.filePath(QStringLiteral("tavro-board.ini"));
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + "/lens-board-sim",
                  options.split(QLatin1Char(' ')) + QStringList{"--link", link, "--state", state});
    QTRY_VERIFY(process.canReadLine());
    const QString device = QString::fromLocal8Bit(process.readLine()).trimmed();
    QVERIFY(device.startsWith(QLatin1String("/dev/")));
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);

    QSerialPort port(link);
    QVERIFY(port.open(QIODevice::ReadWrite));
    // Pieces 1 ms apart merge when this thread is late, so a few tries may be
    // needed to see them apart.
    int mostPieces = 0;
    for (int attempt = 0; attempt < 10 && mostPieces < minimumPieces; ++attempt) {
        QByteArray reply;
        const QList<std::pair<QByteArray, double>> pieces = readInPieces(port, frame, schedule);
        if (QTest::currentTestFailed())
            return;
        for (const auto &piece : pieces)
            reply += piece.first;
        QCOMPARE(reply.toHex(), pellan ? "016500000000000000004e2000003087" : "005b0e0000");
        QVERIFY2(pieces.last().second < schedule.last().second + 200, qPrintable(QString::number(pieces.last().second)));
        mostPieces = qMax(mostPieces, int(pieces.size()));
    }
    QVERIFY2(mostPieces >= minimumPieces, qPrintable(QString::number(mostPieces)));
    if (!pellan) {
        QCOMPARE(exchange(port, "fe110000000000"), "00"); // stores to the state file
        QVERIFY(QFile::exists(state));
    }
    if (options.contains("--trace")) { // focus down by 40: the lens lags by its play
        QCOMPARE(exchange(port, "fe05000007a800"), "00");
        QCOMPARE(exchange(port, "fe090000000000"), "00a8070000");
    }

    ::kill(pid_t(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardError().contains("fe090000000000: zoom 3675 lens 3675, focus 1960 lens 2000"),
             options.contains("--trace"));
    QVERIFY(!QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
