// The Pellan focus board model on its own, driven with chosen times.

#include "modbuscrc.h"
#include "pellanboard.h"

#include <QtTest>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray moveFrame(quint32 speed, qint32 travel)
{
    QByteArray payload = hex("016401");
    for (const quint32 value : {speed, quint32(travel)}) {
        for (int shift = 24; shift >= 0; shift -= 8)
            payload.append(char((value >> shift) & 0xFF));
    }
    payload.append(3, '\0');
    return PellanBoard::sealed(payload);
}

const QByteArray statusQuery = hex("0165000000000000000000000000" "2665");

struct Status
{
    bool valid = false;
    quint8 runningFlag = 0;
    qint32 raw = 0;
};

// Checks the whole reply layout, then returns its two fields.
Status status(PellanBoard &board, qint64 nowMs)
{
    const QByteArray reply = board.handleFrame(statusQuery, nowMs);
    Status result;
    if (reply.size() != 16 || reply.left(3) != hex("016500"))
        return result;
    for (const int zero : {2, 4, 5, 6, 7, 12, 13}) {
        if (reply.at(zero) != 0)
            return result;
    }
    const quint16 crc = modbusCrc16(reply.left(14));
    if (quint8(reply.at(14)) != (crc & 0xFF) || quint8(reply.at(15)) != (crc >> 8))
        return result;
    result.valid = true;
    result.runningFlag = quint8(reply.at(3));
    quint32 bits = 0;
    for (int i = 8; i < 12; ++i)
        bits = (bits << 8) | quint8(reply.at(i));
    result.raw = qint32(bits);
    return result;
}

} // namespace

class TestSimulatorPellan : public QObject
{
    Q_OBJECT

private slots:
    void answersOnlySoundFramesForItself_data();
    void answersOnlySoundFramesForItself();
    void statusReplyCarriesFlagAndPosition();
    void moveIsEchoedAndTravelsAtTheSpeed();
    void calibrationTravelsStopAtTheMechanicalEnds();
    void zeroTravelStopsTheMotor();
    void travelIsCountedFromWhereTheMotorIsNow();
    void extremeFieldsStayWithinTheEnds();
};

void TestSimulatorPellan::answersOnlySoundFramesForItself_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");
    // Known frames of the focus driver, CRC included.
    QTest::newRow("01640100000051000003e80000006c77")
        << hex("01640100000051000003e80000006c77") << hex("01640100000051000003e80000006c77");
    QTest::newRow("01640100000051000000000000001dd7")
        << hex("01640100000051000000000000001dd7") << hex("01640100000051000000000000001dd7");
    QTest::newRow("016401000000510000bd740000006a3c")
        << hex("016401000000510000bd740000006a3c") << hex("016401000000510000bd740000006a3c");
    // Wrong CRC: the low byte, the high byte, swapped.
    QTest::newRow("01640100000051000003e80000006c78") << hex("01640100000051000003e80000006c78") << QByteArray();
    QTest::newRow("01640100000051000003e80000007c77") << hex("01640100000051000003e80000007c77") << QByteArray();
    QTest::newRow("01650000000000000000000000006526") << hex("01650000000000000000000000006526") << QByteArray();
    // A payload byte changed under a CRC that was right for the old one.
    QTest::newRow("01640100000052000003e80000006c77") << hex("01640100000052000003e80000006c77") << QByteArray();
    // Another slave.
    QTest::addRow("%s", PellanBoard::sealed(hex("0265000000000000000000000000")).toHex().constData())
        << PellanBoard::sealed(hex("0265000000000000000000000000")) << QByteArray();
    // Unknown function: exception "illegal function".
    QTest::addRow("%s", PellanBoard::sealed(hex("0103000000000000000000000000")).toHex().constData())
        << PellanBoard::sealed(hex("0103000000000000000000000000")) << PellanBoard::sealed(hex("018301"));
}

void TestSimulatorPellan::answersOnlySoundFramesForItself()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    PellanBoard board;
    QCOMPARE(board.handleFrame(frame, 0).toHex(), reply.toHex());
    if (reply.isEmpty())
        QVERIFY(!board.isRunning(100));
}

void TestSimulatorPellan::statusReplyCarriesFlagAndPosition()
{
    PellanBoard board;
    // At rest at 20000 = 0x4E20.
    QCOMPARE(board.handleFrame(statusQuery, 0).toHex(),
             PellanBoard::sealed(hex("0165000000000000" "00004e20" "0000")).toHex());
    board.placeAt(-10, 0);
    Status now = status(board, 0);
    QVERIFY(now.valid);
    QCOMPARE(now.raw, -10);
    QCOMPARE(now.runningFlag, quint8(0x00));
    board.handleFrame(moveFrame(81, 5000), 0);
    now = status(board, 100);
    QVERIFY(now.valid);
    QCOMPARE(now.runningFlag, quint8(0xFF));
}

// Speed 81: 8100 raw steps per second.
void TestSimulatorPellan::moveIsEchoedAndTravelsAtTheSpeed()
{
    PellanBoard board;
    const QByteArray frame = moveFrame(81, 10000);
    QCOMPARE(board.handleFrame(frame, 1000).toHex(), frame.toHex());
    QCOMPARE(board.target(), 30000);
    Status now = status(board, 2000);
    QCOMPARE(now.raw, 28100);
    QCOMPARE(now.runningFlag, quint8(0xFF));
    now = status(board, 3000);
    QCOMPARE(now.raw, 30000);
    QCOMPARE(now.runningFlag, quint8(0x00));

    board.handleFrame(moveFrame(243, -10000), 3000);
    QCOMPARE(status(board, 3100).raw, 30000 - 2430);
    board.handleFrame(moveFrame(40, -10000), 4000);
    QCOMPARE(status(board, 4100).raw, 20000 - 400);
}

// The focus driver's calibration frames: +48500 then -48500 at speed 81, 8 s
// each; a travel past an end stops there.
void TestSimulatorPellan::calibrationTravelsStopAtTheMechanicalEnds()
{
    PellanBoard board;
    board.handleFrame(hex("016401000000510000bd740000006a3c"), 0);
    QCOMPARE(status(board, 8000).raw, PellanBoard::farEnd);
    QCOMPARE(status(board, 8000).runningFlag, quint8(0x00));
    const QByteArray back = hex("01640100000051ffff428c0000005448");
    QCOMPARE(board.handleFrame(back, 8000).toHex(), back.toHex());
    QCOMPARE(status(board, 13000).raw, PellanBoard::farEnd - 5 * 8100);
    // 48500 steps back from the far end: 500 short of the near end.
    QCOMPARE(status(board, 16000).raw, PellanBoard::farEnd - 48500);
    QCOMPARE(status(board, 16000).runningFlag, quint8(0x00));
    board.handleFrame(moveFrame(81, -48500), 16000);
    QCOMPARE(status(board, 24000).raw, PellanBoard::nearEnd);
}

void TestSimulatorPellan::zeroTravelStopsTheMotor()
{
    PellanBoard board;
    board.handleFrame(moveFrame(81, 20000), 0);
    const QByteArray stop = hex("01640100000051000000000000001dd7");
    QCOMPARE(board.handleFrame(stop, 1000).toHex(), stop.toHex());
    const Status now = status(board, 5000);
    QCOMPARE(now.raw, 28100);
    QCOMPARE(now.runningFlag, quint8(0x00));
    // A move at speed 0 goes nowhere either, and is still acknowledged.
    const QByteArray still = moveFrame(0, 5000);
    QCOMPARE(board.handleFrame(still, 5000), still);
    QVERIFY(!board.isRunning(5000));
}

void TestSimulatorPellan::travelIsCountedFromWhereTheMotorIsNow()
{
    PellanBoard board;
    board.handleFrame(moveFrame(100, 20000), 0); // 10000 steps/s
    board.handleFrame(moveFrame(100, -1000), 500); // at 25000 by then
    QCOMPARE(board.target(), 24000);
    QCOMPARE(status(board, 5000).raw, 24000);
}

void TestSimulatorPellan::extremeFieldsStayWithinTheEnds()
{
    PellanBoard board;
    board.handleFrame(moveFrame(0xFFFFFFFFu, 0x7FFFFFFF), 0);
    QCOMPARE(board.target(), PellanBoard::farEnd);
    QCOMPARE(status(board, 1000).raw, PellanBoard::farEnd);
    board.handleFrame(moveFrame(0xFFFFFFFFu, qint32(0x80000000u)), 1000);
    QCOMPARE(status(board, std::numeric_limits<qint64>::max() / 2).raw, PellanBoard::nearEnd);
}

QTEST_GUILESS_MAIN(TestSimulatorPellan)
#include "tst_simulatorpellan.moc"
