// The Tavro driver's frames and the decoding of its replies, without a port: a
// driver whose transports capture the frame and hand back a prepared reply.

#include "controller_tavro.h"

#include <QtTest>

#include <functional>

namespace {

class CapturingTavro : public ControllerTavro
{
public:
    CapturingTavro() : ControllerTavro(QStringLiteral("ttyCAPTURE")) {}

    int calls = 0;
    int nofBytes = 0; // 0: sent as a command
    QByteArray frame;
    QStringList frames;
    bool result = true;
    QByteArray reply;

private:
    bool transmitData(QByteArray data) override
    {
        ++calls;
        frame = data;
        frames << QString::fromLatin1(data.toHex());
        return result;
    }

    bool transmitAndRecieve(QByteArray data, QByteArray *response, int bytes) override
    {
        ++calls;
        frame = data;
        nofBytes = bytes;
        // Bytes may have arrived although the transaction failed; the driver
        // must go by the result.
        *response = reply;
        return result;
    }
};

using Operation = std::function<int(Controller &)>;

} // namespace

#define CMD(call) #call, Operation([](Controller &c) { c.call; return 0; })
#define QRY(call) #call, Operation([](Controller &c) { return c.call; })

Q_DECLARE_METATYPE(Operation)

class TestControllerTavro : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void meanings_data();
    void meanings();
    void replies_data();
    void replies();
    void presetAtSpeed_data();
    void presetAtSpeed();
};

// The zoom and focus speeds go first; a speed not taken leaves the preset uncalled.
void TestControllerTavro::presetAtSpeed_data()
{
    QTest::addColumn<bool>("acknowledged");
    QTest::addColumn<QString>("frames");
    QTest::newRow("ff000025000200 ff000027000200 ff000007000300") << true << "ff000025000200 ff000027000200 ff000007000300";
    QTest::newRow("ff000025000200 refused") << false << "ff000025000200";
}

void TestControllerTavro::presetAtSpeed()
{
    QFETCH(bool, acknowledged);
    CapturingTavro driver;
    driver.result = acknowledged;
    if (!acknowledged)
        QTest::ignoreMessage(QtCriticalMsg, "Preset speed not taken, preset 3 not called");
    driver.callPresetAtSpeed(3, 2);
    QTEST(driver.frames.join(' '), "frames");
}

void TestControllerTavro::frames_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("nofBytes");
    QTest::addColumn<QString>("meaning");

    const auto row = [](const char *frame, int nofBytes, const char *meaning, const char *name, Operation op) {
        QTest::addRow("%s %s", frame, name) << op << QByteArray::fromHex(frame) << nofBytes << QString(meaning);
    };
    row("ff000020000020", 0, "zoom tele", CMD(pelco_d_zoom_in()));
    row("ff000040000020", 0, "zoom wide", CMD(pelco_d_zoom_out()));
    row("ff000000000020", 0, "zoom stop", CMD(pelco_d_zoom_stop()));
    row("ff000100000001", 0, "focus near", CMD(pelco_d_focus_near()));
    row("ff000080000080", 0, "focus far", CMD(pelco_d_focus_far()));
    row("ff000000000000", 0, "focus stop / iris stop", CMD(pelco_d_focus_stop()));
    row("ff000200000002", 0, "iris open", CMD(pelco_d_iris_open()));
    row("ff000400000004", 0, "iris close", CMD(pelco_d_iris_close()));
    row("ff000000000000", 0, "focus stop / iris stop", CMD(pelco_d_iris_stop()));
    row("ff000003000a00", 0, "store preset 10", CMD(storePreset(10)));
    row("ff000007000100", 0, "call preset 1", CMD(callPreset(1)));
    row("ff000025000200", 0, "set zoom speed high", CMD(setZoomSpeed(2)));
    row("ff000027000100", 0, "set focus speed medium", CMD(setFocusSpeed(1)));
    row("fe010000000000", 0, "initialise the motors", CMD(initMotor()));
    row("fe04000003e800", 0, "set zoom position 1000", CMD(setZoomPosition(1000)));
    row("fe05ffffffff00", 0, "set focus position -1", CMD(setFocusPosition(-1)));
    row("fe061234567800", 0, "set iris position 305419896", CMD(setIrisPosition(0x12345678)));
    row("fe070000000202", 0, "set lens type 2", CMD(setLensType(258)));
    row("fe07000000ffff", 0, "set lens type 255", CMD(setLensType(-1)));
    row("fe0b0000000100", 0, "set long-cable mode on", CMD(setSensitivityMode(1)));
    row("fe0f0000000000", 0, "calibrate all", CMD(calibrateAll()));
    row("fe110000000000", 0, "store in device", CMD(storeInDevice()));
    row("fe130000000100", 0, "stall detection off", CMD(disableStallDetection(true)));
    row("fe130000000000", 0, "stall detection on", CMD(disableStallDetection(false)));
    row("fe080000000000", 4, "get zoom position", QRY(getZoomPosition()));
    row("fe090000000000", 4, "get focus position", QRY(getFocusPosition()));
    row("fe0a0000000000", 4, "get iris position", QRY(getIrisPosition()));
    row("fe0c0000000000", 4, "get long-cable mode", QRY(getSensitivityMode()));
    row("fe100000000000", 1, "get lens type", QRY(getLensType()));
    row("fe140000000000", 4, "get focus maximum", QRY(getMaxFocusPosition()));
    row("fe150000000000", 4, "get zoom maximum", QRY(getMaxZoomPosition()));
    row("fe160000000000", 4, "get iris maximum", QRY(getMaxIrisPosition()));
}

void TestControllerTavro::frames()
{
    QFETCH(Operation, operation);
    QFETCH(QByteArray, frame);
    QFETCH(int, nofBytes);

    CapturingTavro driver;
    operation(driver);
    QCOMPARE(driver.calls, 1);
    QCOMPARE(driver.frame.toHex(), frame.toHex());
    QCOMPARE(driver.nofBytes, nofBytes);

    // Read back, the frame says what it asks, and builds again to itself.
    QFETCH(QString, meaning);
    QCOMPARE(TavroFrames::describeFrame(frame).text, meaning);
    const std::optional<TavroFrames::Request> request = TavroFrames::decodeFrame(frame);
    QVERIFY(request);
    for (TavroFrames::FrameKind asked : request->kinds)
        QCOMPARE(TavroFrames::encode(asked, request->value).toHex(), frame.toHex());
    QCOMPARE(TavroFrames::replyDataBytes(frame), nofBytes);
}

// A reply is read by the query it answers; bytes that fit no frame are
// unknown, never an error.
void TestControllerTavro::meanings_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("received");

    const auto row = [](const char *frame, const char *reply, const char *sent, const char *received) {
        QTest::addRow("%s %s", frame, reply) << QByteArray::fromHex(frame) << QByteArray::fromHex(reply)
                                             << QString(sent) << QString(received);
    };
    row("fe0a0000000000", "00be0a0000", "get iris position", "iris position 2750");
    row("fe150000000000", "00b61c0000", "get zoom maximum", "zoom maximum 7350");
    row("fe0c0000000000", "0001000000", "get long-cable mode", "long-cable mode 1");
    row("fe08000000000000", "00ffffffff", "unknown frame", "OK (+4 bytes)");
    row("fe080000000000", "00e803000077", "get zoom position", "zoom position 1000 (+1 byte)");
    row("fe080000000000", "00e803", "get zoom position", "OK, 2 of 4 data bytes");
    row("fe080000000000", "02e8030000", "get zoom position", "rejected (status 02)");
    row("fe080000000000", "", "get zoom position", "");
    row("fe100000000000", "0001", "get lens type", "lens type 1");
    row("fe100000000000", "0085", "get lens type", "lens type -123");
    row("fe0400000bb800", "00", "set zoom position 3000", "OK");
    row("fe0400000bb800", "ff", "set zoom position 3000", "rejected (status FF)");
    row("ff000020000020", "00000000", "zoom tele", "OK (+3 bytes)");
    // Close to frames of the driver's, but not one of them.
    row("fe070000000201", "00", "unknown frame", "OK");
    row("fe0f0000000100", "00", "unknown frame", "OK");
    row("fe0400000bb801", "01", "unknown frame", "rejected (status 01)");
    row("ff010020000020", "00", "unknown frame", "OK");
    row("ff000020000120", "00", "unknown frame", "OK");
    row("fe990000000000", "00", "unknown frame", "OK");
}

void TestControllerTavro::meanings()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    QFETCH(QString, sent);
    QFETCH(QString, received);

    QCOMPARE(TavroFrames::describeFrame(frame).text, sent);
    QCOMPARE(TavroFrames::describeFrame(frame).understood, sent != QLatin1String("unknown frame"));
    QCOMPARE(TavroFrames::describeReply(frame, reply).text, received);
}

void TestControllerTavro::replies_data()
{
    QTest::addColumn<Operation>("query");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("line"); // the debug line logged, if checked

    const auto row = [](const char *reply, bool result, int value, const char *line,
                        const char *name, Operation op) {
        QTest::addRow("%s %s%s", reply, name, result ? "" : " failed")
            << op << result << QByteArray::fromHex(reply) << value << QString::fromLatin1(line);
    };
    row("e8030000", true, 1000, "position:  1000", QRY(getZoomPosition()));
    row("18fcffff", true, -1000, "Maxposition:  -1000", QRY(getMaxFocusPosition()));
    row("ffffffff", true, -1, "", QRY(getFocusPosition()));
    row("01000000", true, 1, "******** SensitivityMode:  1", QRY(getSensitivityMode()));
    row("e80300", true, -1, "getMaxIrisPosition failed", QRY(getMaxIrisPosition()));
    row("e803000000", true, -1, "", QRY(getIrisPosition()));
    row("e8030000", false, -1, "getIrisMaxPosition failed", QRY(getMaxIrisPosition()));
    row("85", true, -123, "", QRY(getLensType()));
    row("02", true, 2, "", QRY(getLensType()));
    row("0202", true, -1, "", QRY(getLensType()));
    row("02", false, -1, "", QRY(getLensType()));
}

void TestControllerTavro::replies()
{
    QFETCH(Operation, query);
    QFETCH(bool, result);
    QFETCH(QByteArray, reply);
    QFETCH(int, value);
    QFETCH(QString, line);

    CapturingTavro driver;
    driver.result = result;
    driver.reply = reply;
    if (!line.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, qPrintable(line));
    QCOMPARE(query(driver), value);
}

QTEST_GUILESS_MAIN(TestControllerTavro)
#include "tst_controllertavro.moc"
