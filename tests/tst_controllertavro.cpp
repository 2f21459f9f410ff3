// The Tavro driver's frames and the decoding of its replies, without a port: a
// driver whose transports capture the frame and hand back a prepared reply.

#include "controller_tavro.h"
#include "tavroframes.h"

#include <QByteArray>
#include <QtTest>

#include <functional>
#include <limits>
#include <optional>

namespace {

// Stands in for the port: records what each operation hands to which transport
// and answers queries with the prepared result and data bytes.
class CapturingTavro : public ControllerTavro
{
public:
    enum Transport { None, Command, Query };

    CapturingTavro()
        : ControllerTavro(QStringLiteral("ttyCAPTURE"))
    {
    }

    int calls = 0;
    Transport transport = None;
    QByteArray frame;
    int nofBytes = 0;
    bool result = true;
    QByteArray reply;

private:
    bool transmitData(QByteArray data) override
    {
        ++calls;
        transport = Command;
        frame = data;
        return result;
    }

    bool transmitAndRecieve(QByteArray data, QByteArray *response, int bytes) override
    {
        ++calls;
        transport = Query;
        frame = data;
        nofBytes = bytes;
        // A failed transaction may still have had bytes in flight; the driver
        // must go by the result, not by what the buffer happens to hold.
        *response = reply;
        return result;
    }
};

using Command = std::function<void(Controller &)>;
using Query = std::function<int(Controller &)>;

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(Query)

class TestControllerTavro : public QObject
{
    Q_OBJECT

private slots:
    void positionFrame_data();
    void positionFrame();
    void fourByteValue_data();
    void fourByteValue();
    void lensTypeValue_data();
    void lensTypeValue();

    void commandFrames_data();
    void commandFrames();
    void setPositionLogsValueAndFrame();
    void queryFrames_data();
    void queryFrames();
    void fourByteQueries_data();
    void fourByteQueries();
    void lensTypeQuery_data();
    void lensTypeQuery();
    void defaultTimeouts();
};

void TestControllerTavro::positionFrame_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("fe040000000000") << 0x04 << 0 << hex("fe040000000000");
    QTest::newRow("fe04000003e800") << 0x04 << 1000 << hex("fe04000003e800");
    QTest::newRow("fe0500001cb600") << 0x05 << 7350 << hex("fe0500001cb600");
    QTest::newRow("fe05ffffffff00") << 0x05 << -1 << hex("fe05ffffffff00");
    QTest::newRow("fe067fffffff00") << 0x06 << std::numeric_limits<int>::max()
                                    << hex("fe067fffffff00");
    QTest::newRow("fe068000000000") << 0x06 << std::numeric_limits<int>::min()
                                    << hex("fe068000000000");
    QTest::newRow("fe041234567800") << 0x04 << 0x12345678 << hex("fe041234567800");
}

void TestControllerTavro::positionFrame()
{
    QFETCH(int, code);
    QFETCH(int, position);
    QFETCH(QByteArray, frame);

    QCOMPARE(TavroFrames::position(TavroFrames::ExtendedCode(code), position).toHex(),
             frame.toHex());
}

void TestControllerTavro::fourByteValue_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<std::optional<int>>("value");

    const std::optional<int> none;
    QTest::newRow("e8030000") << hex("e8030000") << std::optional<int>(1000);
    QTest::newRow("00000000") << hex("00000000") << std::optional<int>(0);
    QTest::newRow("78563412") << hex("78563412") << std::optional<int>(0x12345678);
    QTest::newRow("ffffffff") << hex("ffffffff") << std::optional<int>(-1);
    QTest::newRow("18fcffff") << hex("18fcffff") << std::optional<int>(-1000);
    QTest::newRow("ffffff7f") << hex("ffffff7f")
                              << std::optional<int>(std::numeric_limits<int>::max());
    QTest::newRow("00000080") << hex("00000080")
                              << std::optional<int>(std::numeric_limits<int>::min());
    QTest::newRow("e80300 (short)") << hex("e80300") << none;
    QTest::newRow("(empty)") << QByteArray() << none;
    QTest::newRow("e803000000 (long)") << hex("e803000000") << none;
}

void TestControllerTavro::fourByteValue()
{
    QFETCH(QByteArray, data);
    QFETCH(std::optional<int>, value);

    QCOMPARE(TavroFrames::decodeFourByteValue(data), value);
}

void TestControllerTavro::lensTypeValue_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<std::optional<int>>("value");

    QTest::newRow("02") << hex("02") << std::optional<int>(2);
    QTest::newRow("00") << hex("00") << std::optional<int>(0);
    QTest::newRow("7f") << hex("7f") << std::optional<int>(127);
    QTest::newRow("85") << hex("85") << std::optional<int>(-123);
    QTest::newRow("ff") << hex("ff") << std::optional<int>(-1);
    QTest::newRow("(empty)") << QByteArray() << std::optional<int>();
    QTest::newRow("0202") << hex("0202") << std::optional<int>();
}

void TestControllerTavro::lensTypeValue()
{
    QFETCH(QByteArray, data);
    QFETCH(std::optional<int>, value);

    QCOMPARE(TavroFrames::decodeLensType(data), value);
}

void TestControllerTavro::commandFrames_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QByteArray>("frame");

    const auto row = [](const char *frame, const char *name, Command command) {
        QTest::addRow("%s %s", frame, name) << command << hex(frame);
    };
    row("ff000020000020", "pelco_d_zoom_in", [](Controller &c) { c.pelco_d_zoom_in(); });
    row("ff000040000020", "pelco_d_zoom_out", [](Controller &c) { c.pelco_d_zoom_out(); });
    row("ff000000000020", "pelco_d_zoom_stop", [](Controller &c) { c.pelco_d_zoom_stop(); });
    row("ff000100000001", "pelco_d_focus_near", [](Controller &c) { c.pelco_d_focus_near(); });
    row("ff000080000080", "pelco_d_focus_far", [](Controller &c) { c.pelco_d_focus_far(); });
    row("ff000000000000", "pelco_d_focus_stop", [](Controller &c) { c.pelco_d_focus_stop(); });
    row("ff000200000002", "pelco_d_iris_open", [](Controller &c) { c.pelco_d_iris_open(); });
    row("ff000400000004", "pelco_d_iris_close", [](Controller &c) { c.pelco_d_iris_close(); });
    row("ff000000000000", "pelco_d_iris_stop", [](Controller &c) { c.pelco_d_iris_stop(); });
    row("ff000003000100", "storePreset(1)", [](Controller &c) { c.storePreset(1); });
    row("ff000003000a00", "storePreset(10)", [](Controller &c) { c.storePreset(10); });
    row("ff000007000100", "callPreset(1)", [](Controller &c) { c.callPreset(1); });
    row("ff000007000a00", "callPreset(10)", [](Controller &c) { c.callPreset(10); });
    row("ff000025000000", "setZoomSpeed(0)", [](Controller &c) { c.setZoomSpeed(0); });
    row("ff000025000200", "setZoomSpeed(2)", [](Controller &c) { c.setZoomSpeed(2); });
    row("ff000027000100", "setFocusSpeed(1)", [](Controller &c) { c.setFocusSpeed(1); });
    row("ff000027000200", "setFocusSpeed(2)", [](Controller &c) { c.setFocusSpeed(2); });
    row("fe010000000000", "initMotor", [](Controller &c) { c.initMotor(); });
    row("fe04000003e800", "setZoomPosition(1000)", [](Controller &c) { c.setZoomPosition(1000); });
    row("fe05ffffffff00", "setFocusPosition(-1)", [](Controller &c) { c.setFocusPosition(-1); });
    row("fe06000015e000", "setIrisPosition(5600)", [](Controller &c) { c.setIrisPosition(5600); });
    row("fe070000000101", "setLensType(1)", [](Controller &c) { c.setLensType(1); });
    row("fe070000000202", "setLensType(258)", [](Controller &c) { c.setLensType(258); });
    row("fe07000000ffff", "setLensType(-1)", [](Controller &c) { c.setLensType(-1); });
    row("fe0b0000000100", "setSensitivityMode(1)", [](Controller &c) { c.setSensitivityMode(1); });
    row("fe0b0000000000", "setSensitivityMode(0)", [](Controller &c) { c.setSensitivityMode(0); });
    row("fe0f0000000000", "calibrateAll", [](Controller &c) { c.calibrateAll(); });
    row("fe110000000000", "storeInDevice", [](Controller &c) { c.storeInDevice(); });
    row("fe130000000100", "disableStallDetection(true)",
        [](Controller &c) { c.disableStallDetection(true); });
    row("fe130000000000", "disableStallDetection(false)",
        [](Controller &c) { c.disableStallDetection(false); });
}

void TestControllerTavro::commandFrames()
{
    QFETCH(Command, command);
    QFETCH(QByteArray, frame);

    CapturingTavro driver;
    command(driver);

    QCOMPARE(driver.calls, 1);
    QCOMPARE(driver.transport, CapturingTavro::Command);
    QCOMPARE(driver.frame.toHex(), frame.toHex());
}

void TestControllerTavro::setPositionLogsValueAndFrame()
{
    CapturingTavro driver;
    QTest::ignoreMessage(QtDebugMsg, "Position:  1000");
    QTest::ignoreMessage(QtDebugMsg, "\"\\xFE\\x04\\x00\\x00\\x03\\xE8\\x00\"");
    driver.setZoomPosition(1000);

    QTest::ignoreMessage(QtDebugMsg, "Position:  -1");
    QTest::ignoreMessage(QtDebugMsg, "\"\\xFE\\x05\\xFF\\xFF\\xFF\\xFF\\x00\"");
    driver.setFocusPosition(-1);

    QTest::ignoreMessage(QtDebugMsg, "Position:  0");
    QTest::ignoreMessage(QtDebugMsg, "\"\\xFE\\x06\\x00\\x00\\x00\\x00\\x00\"");
    driver.setIrisPosition(0);
}

void TestControllerTavro::queryFrames_data()
{
    QTest::addColumn<Query>("query");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("nofBytes");

    const auto row = [](const char *frame, const char *name, int nofBytes, Query query) {
        QTest::addRow("%s %s", frame, name) << query << hex(frame) << nofBytes;
    };
    row("fe080000000000", "getZoomPosition", 4, [](Controller &c) { return c.getZoomPosition(); });
    row("fe090000000000", "getFocusPosition", 4, [](Controller &c) { return c.getFocusPosition(); });
    row("fe0a0000000000", "getIrisPosition", 4, [](Controller &c) { return c.getIrisPosition(); });
    row("fe0c0000000000", "getSensitivityMode", 4,
        [](Controller &c) { return c.getSensitivityMode(); });
    row("fe100000000000", "getLensType", 1, [](Controller &c) { return c.getLensType(); });
    row("fe140000000000", "getMaxFocusPosition", 4,
        [](Controller &c) { return c.getMaxFocusPosition(); });
    row("fe150000000000", "getMaxZoomPosition", 4,
        [](Controller &c) { return c.getMaxZoomPosition(); });
    row("fe160000000000", "getMaxIrisPosition", 4,
        [](Controller &c) { return c.getMaxIrisPosition(); });
}

void TestControllerTavro::queryFrames()
{
    QFETCH(Query, query);
    QFETCH(QByteArray, frame);
    QFETCH(int, nofBytes);

    CapturingTavro driver;
    driver.result = false;
    query(driver);

    QCOMPARE(driver.calls, 1);
    QCOMPARE(driver.transport, CapturingTavro::Query);
    QCOMPARE(driver.frame.toHex(), frame.toHex());
    QCOMPARE(driver.nofBytes, nofBytes);
}

void TestControllerTavro::fourByteQueries_data()
{
    QTest::addColumn<Query>("query");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("line");

    struct Named
    {
        const char *name;
        Query query;
        const char *transactionFailed;
        const char *lengthFailed;
        const char *label;
    };
    const Named queries[] = {
        {"getZoomPosition", [](Controller &c) { return c.getZoomPosition(); },
         "getZoomPosition failed", "getZoomPosition failed", "position: "},
        {"getFocusPosition", [](Controller &c) { return c.getFocusPosition(); },
         "getFocusPosition failed", "getFocusPosition failed", "position: "},
        {"getIrisPosition", [](Controller &c) { return c.getIrisPosition(); },
         "getIrisPosition failed", "getIrisPosition failed", "position: "},
        {"getMaxZoomPosition", [](Controller &c) { return c.getMaxZoomPosition(); },
         "MaxgetZoomPosition failed", "MaxgetZoomPosition failed", "Maxposition: "},
        {"getMaxFocusPosition", [](Controller &c) { return c.getMaxFocusPosition(); },
         "getMaxFocusPosition failed", "getMaxFocusPosition failed", "Maxposition: "},
        {"getMaxIrisPosition", [](Controller &c) { return c.getMaxIrisPosition(); },
         "getIrisMaxPosition failed", "getMaxIrisPosition failed", "Maxposition: "},
        {"getSensitivityMode", [](Controller &c) { return c.getSensitivityMode(); },
         "getSensitivityMode failed", "getSensitivityMode failed", "******** SensitivityMode: "},
    };
    for (const Named &q : queries) {
        const QString label = QString::fromLatin1(q.label);
        QTest::addRow("%s e8030000", q.name)
            << q.query << true << hex("e8030000") << 1000 << label + QStringLiteral(" 1000");
        QTest::addRow("%s ffffffff", q.name)
            << q.query << true << hex("ffffffff") << -1 << label + QStringLiteral(" -1");
        QTest::addRow("%s e803000000 (long)", q.name)
            << q.query << true << hex("e803000000") << -1 << QString::fromLatin1(q.lengthFailed);
        QTest::addRow("%s e80300 (short)", q.name)
            << q.query << true << hex("e80300") << -1 << QString::fromLatin1(q.lengthFailed);
        QTest::addRow("%s failed", q.name)
            << q.query << false << hex("e8030000") << -1
            << QString::fromLatin1(q.transactionFailed);
    }
    QTest::newRow("getSensitivityMode 01000000")
        << queries[6].query << true << hex("01000000") << 1
        << QStringLiteral("******** SensitivityMode:  1");
}

void TestControllerTavro::fourByteQueries()
{
    QFETCH(Query, query);
    QFETCH(bool, result);
    QFETCH(QByteArray, reply);
    QFETCH(int, value);
    QFETCH(QString, line);

    CapturingTavro driver;
    driver.result = result;
    driver.reply = reply;

    QTest::ignoreMessage(QtDebugMsg, line.toLatin1().constData());
    QCOMPARE(query(driver), value);
}

void TestControllerTavro::lensTypeQuery_data()
{
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("value");

    QTest::newRow("02") << true << hex("02") << 2;
    QTest::newRow("85") << true << hex("85") << -123;
    QTest::newRow("ff") << true << hex("ff") << -1;
    QTest::newRow("(empty)") << true << QByteArray() << -1;
    QTest::newRow("0202 (long)") << true << hex("0202") << -1;
    QTest::newRow("02 failed") << false << hex("02") << -1;
}

void TestControllerTavro::lensTypeQuery()
{
    QFETCH(bool, result);
    QFETCH(QByteArray, reply);
    QFETCH(int, value);

    CapturingTavro driver;
    driver.result = result;
    driver.reply = reply;
    QCOMPARE(driver.getLensType(), value);
}

void TestControllerTavro::defaultTimeouts()
{
    const LinkTimeouts limits = ControllerTavro::timeouts();
    QCOMPARE(limits.writeMs, 5000);
    QCOMPARE(limits.replyMs, 3000);
    QCOMPARE(limits.extraReplyMs, 1000);
}

QTEST_GUILESS_MAIN(TestControllerTavro)
#include "tst_controllertavro.moc"
