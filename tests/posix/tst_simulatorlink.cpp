// The simulator served on a pseudo-terminal, spoken to through a real serial
// port on the test's thread, the way the drivers speak to it.

#include "boardsimulator.h"
#include "pellanboard.h"
#include "tavroboard.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QtTest>

#include <memory>

namespace {

using Axis = TavroBoard::Axis;

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const QByteArray zoomQuery = hex("fe080000000000");
const QByteArray pellanStatus = hex("01650000000000000000000000002665");
const QByteArray pellanStop = hex("01640100000051000000000000001dd7");

// Long enough for any answer the simulator gives at once; waits end early as
// soon as bytes arrive.
constexpr int answerMs = 2000;
// How long silence must last to count as "no answer" (at least the
// simulator's resynchronisation gap, so the line is idle afterwards).
constexpr int silenceMs = 3 * BoardSimulator::resyncIdleMs;

std::unique_ptr<QSerialPort> openPort(const QString &name, qint32 baudRate)
{
    auto port = std::make_unique<QSerialPort>(name);
    if (!port->open(QIODevice::ReadWrite))
        return nullptr;
    port->setBaudRate(baudRate);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->clear();
    return port;
}

// Each burst as it arrives: a burst ends when the line stays quiet for
// gapMs. Collects until nothing comes for gapMs.
QList<QByteArray> bursts(QSerialPort &port, int firstWaitMs, int gapMs)
{
    QList<QByteArray> result;
    int waitMs = firstWaitMs;
    while (port.waitForReadyRead(waitMs)) {
        QByteArray burst = port.readAll();
        // The pty may hand over one burst in pieces; pieces follow at once.
        while (port.waitForReadyRead(20))
            burst += port.readAll();
        result << burst;
        waitMs = gapMs;
    }
    return result;
}

// Sends frame and returns everything that comes back as one array.
QByteArray exchange(QSerialPort &port, const QByteArray &frame)
{
    port.write(frame);
    if (!port.waitForBytesWritten(answerMs))
        return "write failed";
    QByteArray reply;
    for (const QByteArray &burst : bursts(port, answerMs, silenceMs))
        reply += burst;
    return reply;
}

} // namespace

class TestSimulatorLink : public QObject
{
    Q_OBJECT

private slots:
    void tavroAnswersPositionQuery();
    void tavroMisbehavesOnDemand_data();
    void tavroMisbehavesOnDemand();
    void pellanMisbehavesOnDemand_data();
    void pellanMisbehavesOnDemand();
    void faultLastsForItsCountOrUntilCleared();
    void splitPauseAndCutAreAdjustable();
    void partialFrameIsDroppedAfterQuietLine();
    void timeScaleSpeedsUpMotion();
    void pellanStateIsReadableAndArrangeable();
};

void TestSimulatorLink::tavroAnswersPositionQuery()
{
    BoardSimulator simulator(std::make_unique<TavroBoard>());
    QVERIFY2(simulator.isOpen(), qPrintable(simulator.errorString()));
    auto port = openPort(simulator.portName(), 19200);
    QVERIFY(port);
    QCOMPARE(exchange(*port, zoomQuery).toHex(), QByteArray("005b0e0000"));
    QCOMPARE(exchange(*port, hex("fe04000003e800")).toHex(), QByteArray("00"));
    QCOMPARE(simulator.withBoard<TavroBoard>(
                 [](TavroBoard &board, qint64) { return board.target(Axis::Zoom); }),
             1000);
    QCOMPARE(simulator.frames(), (QList<QByteArray>{zoomQuery, hex("fe04000003e800")}));
}

// Bursts are written as hex, separated by spaces; "*" stands for any byte.
void TestSimulatorLink::tavroMisbehavesOnDemand_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *frame, SimFault fault, const char *name, const char *expected) {
        QTest::addRow("%s %s", frame, name) << hex(frame) << int(fault) << QString::fromLatin1(expected);
    };
    row("fe080000000000", SimFault::None, "none", "005b0e0000");
    row("fe080000000000", SimFault::NoReply, "no-reply", "");
    row("fe080000000000", SimFault::Rejected, "rejected", "01");
    row("fe080000000000", SimFault::SplitReply, "split-reply", "005b0e 0000");
    row("fe080000000000", SimFault::ShortReply, "short-reply", "005b0e00");
    row("fe080000000000", SimFault::TrailingBytes, "trailing-bytes", "005b0e0000a55aa55a");
    row("fe080000000000", SimFault::WrongEcho, "wrong-echo", "005b0e00ff");
    row("fe04000003e800", SimFault::ShortReply, "short-reply", "");
    row("fe04000003e800", SimFault::TrailingBytes, "trailing-bytes", "00a55aa55a");
}

void TestSimulatorLink::tavroMisbehavesOnDemand()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, fault);
    QFETCH(QString, expected);
    BoardSimulator simulator(std::make_unique<TavroBoard>());
    auto port = openPort(simulator.portName(), 19200);
    QVERIFY(port);
    simulator.setFault(SimFault(fault), 1);

    port->write(frame);
    QVERIFY(port->waitForBytesWritten(answerMs));
    QStringList got;
    for (const QByteArray &burst : bursts(*port, expected.isEmpty() ? silenceMs : answerMs, 600))
        got << QString::fromLatin1(burst.toHex());
    QCOMPARE(got.join(QLatin1Char(' ')), expected);

    // Refused and ignored frames are not acted on; the others are.
    const int zoomTarget = simulator.withBoard<TavroBoard>(
        [](TavroBoard &board, qint64) { return board.target(Axis::Zoom); });
    const bool acted = SimFault(fault) != SimFault::NoReply && SimFault(fault) != SimFault::Rejected;
    QCOMPARE(zoomTarget, acted && frame.at(1) == 0x04 ? 1000 : 3675);
    // The fault was for one reply only.
    QCOMPARE(exchange(*port, zoomQuery).at(0), '\0');
}

void TestSimulatorLink::pellanMisbehavesOnDemand_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("expected");
    const auto row = [](const QByteArray &frame, SimFault fault, const char *name, const QByteArray &expected) {
        QTest::addRow("%s %s", frame.toHex().constData(), name)
            << frame << int(fault) << QString::fromLatin1(expected);
    };
    const QByteArray status = PellanBoard::sealed(hex("0165000000000000" "00004e20" "0000")).toHex();
    const QByteArray stop = pellanStop.toHex();
    row(pellanStatus, SimFault::None, "none", status);
    row(pellanStatus, SimFault::NoReply, "no-reply", "");
    row(pellanStatus, SimFault::Rejected, "rejected", PellanBoard::sealed(hex("01e504")).toHex());
    row(pellanStatus, SimFault::SplitReply, "split-reply", status.left(16) + ' ' + status.mid(16));
    row(pellanStatus, SimFault::ShortReply, "short-reply", status.left(30));
    row(pellanStatus, SimFault::TrailingBytes, "trailing-bytes", status + "a55aa55a");
    row(pellanStop, SimFault::None, "none", stop);
    row(pellanStop, SimFault::WrongEcho, "wrong-echo", stop.left(30) + "28");
    row(pellanStop, SimFault::Rejected, "rejected", PellanBoard::sealed(hex("01e404")).toHex());
    // A frame with a wrong CRC stays unanswered whatever the fault.
    row(hex("01650000000000000000000000002666"), SimFault::Rejected, "rejected", "");
    row(hex("01650000000000000000000000002666"), SimFault::TrailingBytes, "trailing-bytes", "");
}

void TestSimulatorLink::pellanMisbehavesOnDemand()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, fault);
    QFETCH(QString, expected);
    BoardSimulator simulator(std::make_unique<PellanBoard>());
    auto port = openPort(simulator.portName(), 115200);
    QVERIFY(port);
    simulator.setFault(SimFault(fault), 1);

    port->write(frame);
    QVERIFY(port->waitForBytesWritten(answerMs));
    QStringList got;
    for (const QByteArray &burst : bursts(*port, expected.isEmpty() ? silenceMs : answerMs, 600))
        got << QString::fromLatin1(burst.toHex());
    QCOMPARE(got.join(QLatin1Char(' ')), expected);
}

// Random bytes are noise of the reply's length that never starts like the
// reply, so a driver cannot take them for an acknowledgement.
void TestSimulatorLink::faultLastsForItsCountOrUntilCleared()
{
    BoardSimulator simulator(std::make_unique<TavroBoard>());
    auto port = openPort(simulator.portName(), 19200);
    QVERIFY(port);

    simulator.setFault(SimFault::RandomBytes, 2);
    for (int i = 0; i < 2; ++i) {
        const QByteArray noise = exchange(*port, zoomQuery);
        QCOMPARE(noise.size(), 5);
        QVERIFY(noise.at(0) != '\0');
    }
    QCOMPARE(exchange(*port, zoomQuery).toHex(), QByteArray("005b0e0000"));

    simulator.setFault(SimFault::Rejected);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(exchange(*port, zoomQuery).toHex(), QByteArray("01"));
    simulator.clearFault();
    QCOMPARE(exchange(*port, zoomQuery).toHex(), QByteArray("005b0e0000"));
    QCOMPARE(simulator.frameCount(), 7);
}

void TestSimulatorLink::splitPauseAndCutAreAdjustable()
{
    BoardSimulator simulator(std::make_unique<PellanBoard>());
    auto port = openPort(simulator.portName(), 115200);
    QVERIFY(port);
    // The first burst of 10 bytes, the rest well after a driver's one wait.
    simulator.setSplit(10, 700);
    simulator.setFault(SimFault::SplitReply, 1);
    port->write(pellanStatus);
    QVERIFY(port->waitForBytesWritten(answerMs));
    QVERIFY(port->waitForReadyRead(answerMs));
    while (port->waitForReadyRead(50)) { }
    QCOMPARE(port->bytesAvailable(), qint64(10));
    QDeadlineTimer sinceFirst(400);
    QVERIFY(!port->waitForReadyRead(400)); // the pause is still going on
    QVERIFY(sinceFirst.hasExpired());
    QVERIFY(port->waitForReadyRead(answerMs));
    while (port->waitForReadyRead(50)) { }
    QCOMPARE(port->bytesAvailable(), qint64(16));
}

void TestSimulatorLink::partialFrameIsDroppedAfterQuietLine()
{
    BoardSimulator simulator(std::make_unique<TavroBoard>());
    auto port = openPort(simulator.portName(), 19200);
    QVERIFY(port);
    port->write(hex("fe0800"));
    QVERIFY(port->waitForBytesWritten(answerMs));
    QVERIFY(!port->waitForReadyRead(silenceMs));
    QCOMPARE(exchange(*port, zoomQuery).toHex(), QByteArray("005b0e0000"));
    QCOMPARE(simulator.frames(), QList<QByteArray>{zoomQuery});
}

void TestSimulatorLink::timeScaleSpeedsUpMotion()
{
    BoardSimulator simulator(std::make_unique<TavroBoard>());
    auto port = openPort(simulator.portName(), 19200);
    QVERIFY(port);
    // Calibration takes 3 s of board time, 3 ms of ours: it is over by the
    // time the quiet line after its acknowledgement has been waited out.
    simulator.setTimeScale(1000);
    const qint64 before = simulator.nowMs();
    QCOMPARE(exchange(*port, hex("fe0f0000000000")).toHex(), QByteArray("00"));
    QVERIFY(simulator.nowMs() - before > TavroBoard::calibrationMs);
    QCOMPARE(exchange(*port, zoomQuery).toHex(), QByteArray("0000000000"));

    // Back to real time, the clock goes on from where it was.
    simulator.setTimeScale(1);
    const qint64 slowed = simulator.nowMs();
    QVERIFY(slowed - before > TavroBoard::calibrationMs);
    QVERIFY(simulator.nowMs() - slowed < 1000);
}

void TestSimulatorLink::pellanStateIsReadableAndArrangeable()
{
    BoardSimulator simulator(std::make_unique<PellanBoard>());
    auto port = openPort(simulator.portName(), 115200);
    QVERIFY(port);
    simulator.withBoard<PellanBoard>([](PellanBoard &board, qint64 now) { board.placeAt(0, now); });
    QCOMPARE(exchange(*port, pellanStatus).toHex(),
             PellanBoard::sealed(hex("0165000000000000000000000000")).toHex());
    // Speed 1: 100 steps a second, still under way when we look.
    const QByteArray move = PellanBoard::sealed(hex("0164010000000100000bb8000000"));
    QCOMPARE(exchange(*port, move).toHex(), move.toHex());
    const auto [target, running] = simulator.withBoard<PellanBoard>([](PellanBoard &board, qint64 now) {
        return std::make_pair(board.target(), board.isRunning(now));
    });
    QCOMPARE(target, 3000);
    QVERIFY(running);
}

QTEST_GUILESS_MAIN(TestSimulatorLink)
#include "tst_simulatorlink.moc"
