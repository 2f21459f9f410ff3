// The Tavro board model on its own, driven with chosen times.

#include "tavroboard.h"
#include "tavrosettings.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

using Axis = TavroBoard::Axis;

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Query data comes least significant byte first.
qint32 decode(const QByteArray &reply)
{
    quint32 bits = 0;
    for (int i = reply.size() - 1; i >= 1; --i)
        bits = (bits << 8) | quint8(reply.at(i));
    return qint32(bits);
}

QByteArray positionFrame(quint8 code, qint32 position)
{
    QByteArray frame = hex("fe");
    frame.append(char(code));
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.append(char((quint32(position) >> shift) & 0xFF));
    return frame.append('\0');
}

qint32 query(TavroBoard &board, const char *frame, qint64 nowMs)
{
    const QByteArray reply = board.handleFrame(hex(frame), nowMs);
    if (reply.size() != 5 || reply.at(0) != 0)
        return INT_MIN;
    return decode(reply);
}

const char *const zoomQuery = "fe080000000000";
const char *const focusQuery = "fe090000000000";
const char *const irisQuery = "fe0a0000000000";

} // namespace

class TestSimulatorTavro : public QObject
{
    Q_OBJECT

private slots:
    void acceptsEveryFrameOfTheCommandTable_data();
    void acceptsEveryFrameOfTheCommandTable();
    void rejectsFramesOutsideTheTableWithoutActing_data();
    void rejectsFramesOutsideTheTableWithoutActing();
    void absoluteMovesTravelAtTheSpeedLevel_data();
    void absoluteMovesTravelAtTheSpeedLevel();
    void absoluteTargetsAreClampedToTheRange_data();
    void absoluteTargetsAreClampedToTheRange();
    void runsGoOnUntilTheirStopOrTheEnd();
    void focusStopFrameAlsoStopsIrisButNotZoom();
    void presetsKeepAndRecallAllThreeMotors();
    void calibrationLeavesEveryMotorAtZero();
    void storeInDeviceKeepsSettingsAcrossPowerCycles();
    void stateFileWithImpossibleValuesFallsBack();
};

// A fresh board answers every frame of its table with 0x00 (queries with their
// data); zoom 3675, focus 2000, iris 2750, lens type 1 at start.
void TestSimulatorTavro::acceptsEveryFrameOfTheCommandTable_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");
    const struct
    {
        const char *frame;
        const char *reply;
    } rows[] = {
        {"ff000020000020", "00"}, {"ff000040000020", "00"}, {"ff000000000020", "00"},
        {"ff000100000001", "00"}, {"ff000080000080", "00"}, {"ff000000000000", "00"},
        {"ff000200000002", "00"}, {"ff000400000004", "00"}, {"ff000003000100", "00"},
        {"ff000003000a00", "00"}, {"ff000007000100", "00"}, {"ff000007000a00", "00"},
        {"ff000025000000", "00"}, {"ff000025000200", "00"}, {"ff000027000000", "00"},
        {"ff000027000200", "00"}, {"fe010000000000", "00"}, {"fe04000003e800", "00"},
        {"fe05ffffffff00", "00"}, {"fe06000003e800", "00"}, {"fe070000000202", "00"},
        {"fe080000000000", "005b0e0000"}, {"fe090000000000", "00d0070000"},
        {"fe0a0000000000", "00be0a0000"}, {"fe0b0000000100", "00"}, {"fe0b0000000000", "00"},
        {"fe0c0000000000", "0000000000"}, {"fe0f0000000000", "00"}, {"fe100000000000", "0001"},
        {"fe110000000000", "00"}, {"fe130000000100", "00"}, {"fe130000000000", "00"},
        {"fe140000000000", "00a00f0000"}, {"fe150000000000", "00b61c0000"},
        {"fe160000000000", "007c150000"},
    };
    for (const auto &row : rows)
        QTest::newRow(row.frame) << hex(row.frame) << hex(row.reply);
}

void TestSimulatorTavro::acceptsEveryFrameOfTheCommandTable()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    TavroBoard board;
    QCOMPARE(board.handleFrame(frame, 0).toHex(), reply.toHex());
}

void TestSimulatorTavro::rejectsFramesOutsideTheTableWithoutActing_data()
{
    QTest::addColumn<QByteArray>("frame");
    const char *const frames[] = {
        "ff000040000040", // zoom wide with the Pelco-D sum, not the board's 0x20
        "ff000020000000", // zoom tele with a wrong check byte
        "ff010020000021", // another address
        "ff000003000000", // preset 0
        "ff000003000b00", // preset 11
        "ff000007000b00", // go to preset 11
        "ff000025000300", // zoom speed 3
        "ff000027000300", // focus speed 3
        "ff000020010020", // data 1 not zero
        "fe020000000000", // unknown extended command
        "fe08000000000100", // eight bytes
        "fe080000000001", // query with a parameter
        "fe04000003e801", // set position with a last byte
        "fe070000000203", // lens type not repeated
        "fe070001000202", // lens type wider than a byte
        "fe0b0000000200", // sensitivity mode 2
        "fe130000000200", // stall flag 2
        "00080000000000", // neither marker
        "fe08000000", // five bytes
    };
    for (const char *frame : frames)
        QTest::newRow(frame) << hex(frame);
}

void TestSimulatorTavro::rejectsFramesOutsideTheTableWithoutActing()
{
    QFETCH(QByteArray, frame);
    TavroBoard board;
    const TavroSettings before = board.settings();
    QCOMPARE(board.handleFrame(frame, 0).toHex(), QByteArray("01"));
    QCOMPARE(board.target(Axis::Zoom), 3675);
    QCOMPARE(board.target(Axis::Focus), 2000);
    QCOMPARE(board.target(Axis::Iris), 2750);
    QCOMPARE(board.settings().lensType, before.lensType);
    QCOMPARE(board.settings().sensitivityMode, before.sensitivityMode);
    QCOMPARE(board.settings().stallDetectionDisabled, before.stallDetectionDisabled);
    QCOMPARE(board.settings().zoomSpeed, before.zoomSpeed);
    QCOMPARE(board.settings().focusSpeed, before.focusSpeed);
    QVERIFY(board.settings().presets == before.presets);
}

// Zoom and focus at 1500, 3000, 6000 units/s by level; iris at its own rate.
void TestSimulatorTavro::absoluteMovesTravelAtTheSpeedLevel_data()
{
    QTest::addColumn<QByteArray>("speedFrame");
    QTest::addColumn<QByteArray>("moveFrame");
    QTest::addColumn<QByteArray>("queryFrame");
    QTest::addColumn<qint64>("atMs");
    QTest::addColumn<int>("position");

    const auto row = [](const char *what, const char *speed, const QByteArray &move,
                        const char *queryFrame, qint64 atMs, int position) {
        QTest::addRow("%s %s %s", speed, move.toHex().constData(), what)
            << hex(speed) << move << hex(queryFrame) << atMs << position;
    };
    row("zoom level 0 at 1 s", "ff000025000000", positionFrame(0x04, 7350), zoomQuery, 1000, 3675 + 1500);
    row("zoom level 1 at 1 s", "ff000025000100", positionFrame(0x04, 7350), zoomQuery, 1000, 3675 + 3000);
    row("zoom level 2 arrives", "ff000025000200", positionFrame(0x04, 7350), zoomQuery, 1000, 7350);
    row("zoom level 2 at 0.25 s", "ff000025000200", positionFrame(0x04, 0), zoomQuery, 250, 3675 - 1500);
    row("focus level 0 at 0.5 s", "ff000027000000", positionFrame(0x05, 1000), focusQuery, 500, 2000 - 750);
    row("focus level 2 at 0.1 s", "ff000027000200", positionFrame(0x05, 1000), focusQuery, 100, 2000 - 600);
    row("focus arrives and stays", "ff000027000200", positionFrame(0x05, 1000), focusQuery, 60000, 1000);
    row("iris at its own rate", "ff000025000000", positionFrame(0x06, 5500), irisQuery, 400, 2750 + 1100);
    row("zoom speed does not drive focus", "ff000025000200", positionFrame(0x05, 4000), focusQuery, 200, 2000 + 600);
}

void TestSimulatorTavro::absoluteMovesTravelAtTheSpeedLevel()
{
    QFETCH(QByteArray, speedFrame);
    QFETCH(QByteArray, moveFrame);
    QFETCH(QByteArray, queryFrame);
    QFETCH(qint64, atMs);
    QFETCH(int, position);
    TavroBoard board;
    QCOMPARE(board.handleFrame(speedFrame, 0), hex("00"));
    QCOMPARE(board.handleFrame(moveFrame, 0), hex("00"));
    const QByteArray reply = board.handleFrame(queryFrame, atMs);
    QCOMPARE(reply.size(), 5);
    QCOMPARE(decode(reply), position);
}

void TestSimulatorTavro::absoluteTargetsAreClampedToTheRange_data()
{
    QTest::addColumn<QByteArray>("moveFrame");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("end");
    QTest::newRow("fe04ffffffff00") << hex("fe04ffffffff00") << int(Axis::Zoom) << 0;
    QTest::newRow("fe040000200000") << hex("fe040000200000") << int(Axis::Zoom) << 7350;
    QTest::newRow("fe057fffffff00") << hex("fe057fffffff00") << int(Axis::Focus) << 4000;
    QTest::newRow("fe058000000000") << hex("fe058000000000") << int(Axis::Focus) << 0;
    QTest::newRow("fe0600001f4000") << hex("fe0600001f4000") << int(Axis::Iris) << 5500;
}

void TestSimulatorTavro::absoluteTargetsAreClampedToTheRange()
{
    QFETCH(QByteArray, moveFrame);
    QFETCH(int, axis);
    QFETCH(int, end);
    TavroBoard board;
    QCOMPARE(board.handleFrame(moveFrame, 0), hex("00"));
    QCOMPARE(board.target(Axis(axis)), end);
    QCOMPARE(board.position(Axis(axis), 3'600'000), end);
}

void TestSimulatorTavro::runsGoOnUntilTheirStopOrTheEnd()
{
    TavroBoard board; // zoom 3675 at level 1: 3000 units/s
    QCOMPARE(board.handleFrame(hex("ff000020000020"), 0), hex("00")); // tele
    QCOMPARE(query(board, zoomQuery, 1000), 6675);
    QCOMPARE(board.handleFrame(hex("ff000000000020"), 1000), hex("00")); // stop
    QCOMPARE(query(board, zoomQuery, 9000), 6675);

    QCOMPARE(board.handleFrame(hex("ff000040000020"), 10000), hex("00")); // wide
    QCOMPARE(query(board, zoomQuery, 11000), 3675);
    QCOMPARE(query(board, zoomQuery, 30000), 0); // ends at the range

    QCOMPARE(board.handleFrame(hex("ff000080000080"), 0), hex("00")); // focus far
    QCOMPARE(query(board, focusQuery, 30000), 4000);
    QCOMPARE(board.handleFrame(hex("ff000100000001"), 30000), hex("00")); // focus near
    QCOMPARE(query(board, focusQuery, 30500), 2500);

    QCOMPARE(board.handleFrame(hex("ff000400000004"), 0), hex("00")); // iris close
    QCOMPARE(query(board, irisQuery, 500), 2750 - 1375);
    QCOMPARE(board.handleFrame(hex("ff000200000002"), 500), hex("00")); // iris open
    QCOMPARE(query(board, irisQuery, 60000), 5500);
}

void TestSimulatorTavro::focusStopFrameAlsoStopsIrisButNotZoom()
{
    TavroBoard board;
    board.handleFrame(hex("ff000020000020"), 0); // zoom tele
    board.handleFrame(hex("ff000100000001"), 0); // focus near
    board.handleFrame(hex("ff000200000002"), 0); // iris open
    QCOMPARE(board.handleFrame(hex("ff000000000000"), 200), hex("00"));
    QCOMPARE(query(board, focusQuery, 2000), 2000 - 600);
    QCOMPARE(query(board, irisQuery, 2000), 2750 + 550);
    QCOMPARE(query(board, zoomQuery, 1000), 6675);
    QCOMPARE(board.handleFrame(hex("ff000000000020"), 1000), hex("00"));
    QCOMPARE(query(board, zoomQuery, 2000), 6675);
}

void TestSimulatorTavro::presetsKeepAndRecallAllThreeMotors()
{
    TavroBoard board;
    board.handleFrame(positionFrame(0x04, 1000), 0);
    board.handleFrame(positionFrame(0x05, 3000), 0);
    board.handleFrame(positionFrame(0x06, 500), 0);
    QCOMPARE(board.handleFrame(hex("ff000003000300"), 10000), hex("00")); // set preset 3
    QCOMPARE(board.settings().presets[2], (TavroPreset{1000, 3000, 500}));
    QCOMPARE(board.settings().presets[3], TavroPreset());

    board.handleFrame(positionFrame(0x04, 7000), 10000);
    board.handleFrame(positionFrame(0x05, 0), 10000);
    board.handleFrame(positionFrame(0x06, 5000), 10000);
    QCOMPARE(board.handleFrame(hex("ff000007000300"), 20000), hex("00")); // go to preset 3
    QCOMPARE(board.target(Axis::Zoom), 1000);
    QCOMPARE(board.target(Axis::Focus), 3000);
    QCOMPARE(board.target(Axis::Iris), 500);
    QCOMPARE(query(board, zoomQuery, 21000), 4000); // on its way at 3000/s
    QCOMPARE(query(board, zoomQuery, 30000), 1000);
    QCOMPARE(query(board, focusQuery, 30000), 3000);
    QCOMPARE(query(board, irisQuery, 30000), 500);

    // Preset 10 was never set: it holds 0 for every motor.
    QCOMPARE(board.handleFrame(hex("ff000007000a00"), 30000), hex("00"));
    QCOMPARE(query(board, irisQuery, 60000), 0);
}

void TestSimulatorTavro::calibrationLeavesEveryMotorAtZero()
{
    TavroBoard board;
    board.handleFrame(hex("ff000020000020"), 0); // a run that calibration ends
    QCOMPARE(board.handleFrame(hex("fe0f0000000000"), 500), hex("00"));
    QVERIFY(board.isCalibrating(500));
    QVERIFY(board.isCalibrating(500 + TavroBoard::calibrationMs - 1));
    QVERIFY(query(board, zoomQuery, 2000) > 0);
    const qint64 done = 500 + TavroBoard::calibrationMs;
    QVERIFY(!board.isCalibrating(done));
    QCOMPARE(query(board, zoomQuery, done), 0);
    QCOMPARE(query(board, focusQuery, done), 0);
    QCOMPARE(query(board, irisQuery, done), 0);
    QCOMPARE(query(board, zoomQuery, done + 60000), 0);
}

void TestSimulatorTavro::storeInDeviceKeepsSettingsAcrossPowerCycles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("tavro-board.ini"));
    {
        TavroBoard board(TavroSettings::load(path));
        board.setStoreHandler([&](const TavroSettings &settings) { QVERIFY(settings.save(path)); });
        board.handleFrame(hex("fe070000000303"), 0);
        board.handleFrame(hex("fe0b0000000100"), 0);
        board.handleFrame(hex("fe130000000100"), 0);
        board.handleFrame(hex("ff000025000200"), 0);
        board.handleFrame(hex("ff000027000000"), 0);
        board.handleFrame(positionFrame(0x04, 100), 0);
        board.handleFrame(hex("ff000003000a00"), 10000); // preset 10
        QVERIFY(!QFile::exists(path)); // nothing kept before the store frame
        QCOMPARE(board.handleFrame(hex("fe110000000000"), 10000), hex("00"));
        QVERIFY(QFile::exists(path));
        board.handleFrame(hex("fe070000000505"), 10000); // changed, never stored
    }
    TavroBoard board(TavroSettings::load(path));
    QCOMPARE(board.handleFrame(hex("fe100000000000"), 0).toHex(), QByteArray("0003"));
    QCOMPARE(query(board, "fe0c0000000000", 0), 1);
    QVERIFY(board.settings().stallDetectionDisabled);
    QCOMPARE(board.settings().zoomSpeed, 2);
    QCOMPARE(board.settings().focusSpeed, 0);
    QCOMPARE(board.settings().presets[9], (TavroPreset{100, 2000, 2750}));
    // Positions are not settings: the motors start where a new board starts.
    QCOMPARE(query(board, zoomQuery, 0), 3675);
}

void TestSimulatorTavro::stateFileWithImpossibleValuesFallsBack()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("tavro-board.ini"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nzoomSpeed=7\nfocusSpeed=-1\nsensitivityMode=x\nlensType=4\n");
    }
    TavroBoard board(TavroSettings::load(path));
    QCOMPARE(board.settings().zoomSpeed, 1);
    QCOMPARE(board.settings().focusSpeed, 1);
    QCOMPARE(board.settings().sensitivityMode, 0);
    QCOMPARE(board.settings().lensType, 4);
    board.handleFrame(positionFrame(0x04, 7350), 0);
    QCOMPARE(query(board, zoomQuery, 1000), 3675 + 3000);
}

QTEST_GUILESS_MAIN(TestSimulatorTavro)
#include "tst_simulatortavro.moc"
