#include "controller_usm.h"
#include "modbuscrc.h"
#include "pause.h"
#include "pellanframes.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace {

QByteArray fromHex(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex));
}

QString sent(const QByteArray &payload)
{
    return QStringLiteral("send ") + QString::fromLatin1(PellanFrames::sealed(payload).toHex());
}

QString sentHex(const char *payloadHex)
{
    return sent(fromHex(payloadHex));
}

const QString query = QStringLiteral("query");
const QString stopFrame = sentHex("0164010000005100000000000000");

// A 16-byte status reply as the board sends it, running flag at byte 3 and raw
// position big-endian at bytes 8 to 11.
QByteArray statusReply(qint32 raw, char running = 0)
{
    QByteArray payload(14, '\0');
    payload[0] = 0x01;
    payload[1] = 0x65;
    payload[3] = running;
    const quint32 value = quint32(raw);
    payload[8] = char(value >> 24);
    payload[9] = char(value >> 16);
    payload[10] = char(value >> 8);
    payload[11] = char(value);
    return PellanFrames::sealed(payload);
}

// Records the frames the driver hands to its transport, as they would go out,
// and answers status queries from a script; a query with no reply left (or an
// empty one) fails as an unanswered exchange does.
class CapturingUSM : public ControllerUSM
{
public:
    explicit CapturingUSM(QStringList *events)
        : ControllerUSM(QStringLiteral("ttyPELLAN"))
        , m_events(events)
    {
    }

    QList<QByteArray> replies;

private:
    bool transmitData(QByteArray data) override
    {
        *m_events << sent(data);
        return true;
    }

    bool transmitAndRecieve(QByteArray data, QByteArray *response, int nofBytes) override
    {
        *m_events << (data == PellanFrames::statusQuery() ? query : sent(data));
        const QByteArray reply = replies.isEmpty() ? QByteArray() : replies.takeFirst();
        if (reply.size() < nofBytes)
            return false;
        *response = reply.left(nofBytes);
        return true;
    }

    QStringList *m_events;
};

QSettings presetStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane"),
                     QStringLiteral("Tavro Lens Controller"));
}

enum class Move { Position, Near, Far, Preset };

void runMove(ControllerUSM &driver, Move move, int argument)
{
    switch (move) {
    case Move::Position:
        driver.setFocusPosition(argument);
        break;
    case Move::Near:
        driver.pelco_d_focus_near();
        break;
    case Move::Far:
        driver.pelco_d_focus_far();
        break;
    case Move::Preset:
        driver.callPreset(char(argument));
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Move)

class TestControllerUSM : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sealedFrames_data();
    void sealedFrames();
    void decodeStatus_data();
    void decodeStatus();

    void moveFrames_data();
    void moveFrames();
    void runningMotorIsStoppedOnce();
    void farLogsMotorStatus();
    void unknownPositionSendsNoMove_data();
    void unknownPositionSendsNoMove();
    void stopNeverReads();
    void focusPosition_data();
    void focusPosition();
    void lensTypeProbes();
    void focusOnlyBoard();

    void calibrationSequence();
    void failedCalibrationKeepsRange_data();
    void failedCalibrationKeepsRange();

    void outOfRangePresetsAreIgnored_data();
    void outOfRangePresetsAreIgnored();
    void presetsRoundTripThroughStore();
    void failedReadKeepsPreset();
    void failedStoreIsReported();

private:
    std::unique_ptr<CapturingUSM> makeDriver() { return std::make_unique<CapturingUSM>(&m_events); }

    QStringList m_events;
    Pause::Function m_previousPause;
    // Known before any driver exists: a settings object opened on the store
    // during a test would write back the driver's pending values itself.
    QString m_storeFile;
};

void TestControllerUSM::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    // Never touch the operator's own presets.
    m_storeFile = presetStore().fileName();
    QVERIFY2(m_storeFile.contains(QLatin1String(".qttest")), qPrintable(m_storeFile));
}

void TestControllerUSM::init()
{
    QDir(m_storeFile).removeRecursively();
    QFile::remove(m_storeFile);
    m_events.clear();
    m_previousPause = Pause::setFunction([this](unsigned long ms) {
        m_events << QStringLiteral("pause %1").arg(ms);
    });
}

void TestControllerUSM::cleanup()
{
    Pause::setFunction(m_previousPause);
}

// --- Frames ------------------------------------------------------------------

void TestControllerUSM::sealedFrames_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("crc");

    const auto row = [](const char *payloadHex, const char *crcHex) {
        const QByteArray payload = fromHex(payloadHex);
        QTest::newRow(payloadHex) << payload << fromHex(crcHex);
    };
    row("313233343536373839", "374b"); // the CRC-16/MODBUS check value 0x4B37
    row("0165000000000000000000000000", "2665"); // status query
    row("0164010000005100000000000000", "1dd7"); // stop
    row("016401000000510000bd74000000", "6a3c"); // calibration run to the far end
    row("01640100000051ffff428c000000", "5448"); // calibration run to the near end
    row("01640100000051000003e8000000", "6c77"); // 1000 steps at Medium
}

void TestControllerUSM::sealedFrames()
{
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, crc);

    QCOMPARE(PellanFrames::sealed(payload), payload + crc);
    QCOMPARE(modbusCrc16(payload), quint16(quint8(crc[0]) | quint8(crc[1]) << 8));
}

void TestControllerUSM::decodeStatus_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("running");
    QTest::addColumn<int>("raw");

    const auto row = [](const char *hex, bool valid, int running, int raw) {
        QTest::newRow(hex) << fromHex(hex) << valid << running << raw;
    };
    row("01650000000000000000000000002665", true, 0, 0);
    row("016500ff00000000fffffff600001234", true, -1, -10);
    row("0165000100000000000003ed0000abcd", true, 1, 1005);
    row("016500007f0000007fffffff00000000", true, 0, 2147483647);
    row("0165000000000000000003ed0000ab", false, 0, 0);
    row("0165000000000000000003ed0000abcdef", false, 0, 0);
    QTest::newRow("empty") << QByteArray() << false << 0 << 0;
}

void TestControllerUSM::decodeStatus()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, valid);
    QFETCH(int, running);
    QFETCH(int, raw);

    const std::optional<PellanFrames::Status> status = PellanFrames::decodeStatus(reply);
    QCOMPARE(status.has_value(), valid);
    if (valid) {
        QCOMPARE(status->running, running);
        QCOMPARE(status->rawPosition, raw);
    }
}

// --- Focus moves ---------------------------------------------------------------

void TestControllerUSM::moveFrames_data()
{
    QTest::addColumn<int>("speedLevel"); // -1: never set
    QTest::addColumn<Move>("move");
    QTest::addColumn<int>("argument");
    QTest::addColumn<int>("raw");

    // Named by the move frame's payload; its speed is bytes 3 to 6, its travel
    // bytes 7 to 10.
    QTest::newRow("01640100000051000003e8000000") << 1 << Move::Position << 100 << 0;
    QTest::newRow("01640100000051000003e8000000 unset speed") << -1 << Move::Position << 100 << 0;
    QTest::newRow("01640100000051fffffc18000000") << 1 << Move::Position << 0 << 1000;
    QTest::newRow("01640100000028ffffffce000000") << 0 << Move::Position << 5 << 100;
    QTest::newRow("016401000000f3000003e8000000") << 2 << Move::Position << 100 << 0;
    QTest::newRow("01640100000051000003e8000000 speed 7") << 7 << Move::Position << 100 << 0;
    QTest::newRow("01640100000051fffffc18000000 speed -1") << 255 << Move::Position << 0 << 1000;
    QTest::newRow("0164010000002800000000000000") << 0 << Move::Near << 0 << 0;
    QTest::newRow("01640100000051fffffed4000000") << 1 << Move::Near << 0 << 300;
    QTest::newRow("016401000000f30000afc8000000") << 2 << Move::Far << 0 << 500;
    QTest::newRow("01640100000051fffffed4000000 preset") << 1 << Move::Preset << 4 << 300;
}

void TestControllerUSM::moveFrames()
{
    QFETCH(int, speedLevel);
    QFETCH(Move, move);
    QFETCH(int, argument);
    QFETCH(int, raw);

    auto driver = makeDriver();
    if (speedLevel >= 0)
        driver->setFocusSpeed(char(speedLevel));
    driver->replies << statusReply(raw);
    runMove(*driver, move, argument);

    const QByteArray payloadHex = QByteArray(QTest::currentDataTag()).split(' ').first();
    QCOMPARE(m_events, QStringList({query, sentHex(payloadHex.constData())}));
}

void TestControllerUSM::runningMotorIsStoppedOnce()
{
    auto driver = makeDriver();
    // Still running at the second read: there is no second stop.
    driver->replies << statusReply(500, char(0xff)) << statusReply(600, 1);
    QTest::ignoreMessage(QtDebugMsg, "Motor is running");
    driver->setFocusPosition(10);

    // The travel starts from where the motor came to rest.
    QCOMPARE(m_events, QStringList({query, stopFrame, QStringLiteral("pause 500"), query,
                                    sentHex("01640100000051fffffe0c000000")}));
}

void TestControllerUSM::farLogsMotorStatus()
{
    auto driver = makeDriver();
    driver->replies << statusReply(0) << statusReply(100, char(0x80)) << statusReply(200);
    QTest::ignoreMessage(QtDebugMsg, "motor status:  0");
    driver->pelco_d_focus_far();
    QTest::ignoreMessage(QtDebugMsg, "motor status:  -128");
    driver->pelco_d_focus_far();

    QCOMPARE(m_events, QStringList({query, sentHex("016401000000510000b1bc000000"),
                                    query, stopFrame, QStringLiteral("pause 500"), query,
                                    sentHex("016401000000510000b0f4000000")}));
}

void TestControllerUSM::unknownPositionSendsNoMove_data()
{
    QTest::addColumn<Move>("move");
    QTest::addColumn<bool>("runningFirst");

    QTest::newRow("position, no status") << Move::Position << false;
    QTest::newRow("near, no status") << Move::Near << false;
    QTest::newRow("far, no status") << Move::Far << false;
    QTest::newRow("position, no status after stop") << Move::Position << true;
    QTest::newRow("far, no status after stop") << Move::Far << true;
    QTest::newRow("preset, no status") << Move::Preset << false;
}

void TestControllerUSM::unknownPositionSendsNoMove()
{
    QFETCH(Move, move);
    QFETCH(bool, runningFirst);

    auto driver = makeDriver();
    if (runningFirst)
        driver->replies << statusReply(0, 1) << QByteArray();
    QTest::ignoreMessage(QtCriticalMsg, "Focus position unknown, move not sent");
    runMove(*driver, move, 1);

    const QStringList expected = runningFirst
        ? QStringList({query, stopFrame, QStringLiteral("pause 500"), query})
        : QStringList({query});
    QCOMPARE(m_events, expected);
}

void TestControllerUSM::stopNeverReads()
{
    auto driver = makeDriver();
    driver->setFocusSpeed(2);
    driver->pelco_d_focus_stop();
    QCOMPARE(m_events, QStringList({stopFrame}));
}

void TestControllerUSM::focusPosition_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("expected");

    QTest::newRow("raw 1005") << statusReply(1005) << 100;
    QTest::newRow("raw -15, truncated toward zero") << statusReply(-15) << -1;
    QTest::newRow("raw -9") << statusReply(-9) << 0;
    QTest::newRow("raw most negative") << statusReply(-2147483647 - 1) << -214748364;
    QTest::newRow("running is ignored") << statusReply(20, 1) << 2;
    QTest::newRow("short reply") << statusReply(1005).left(15) << -1;
    QTest::newRow("no reply") << QByteArray() << -1;
}

void TestControllerUSM::focusPosition()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, expected);

    auto driver = makeDriver();
    driver->replies << reply;
    QCOMPARE(driver->getFocusPosition(), expected);
    QCOMPARE(m_events, QStringList({query}));
}

void TestControllerUSM::lensTypeProbes()
{
    auto driver = makeDriver();
    driver->replies << statusReply(-15) << QByteArray() << statusReply(1005).left(15);
    // Focus position -1 read from a real reply is still a board that answered.
    QCOMPARE(driver->getLensType(), 0);
    QCOMPARE(driver->getLensType(), -1);
    QCOMPARE(driver->getLensType(), -1);
    QCOMPARE(m_events, QStringList({query, query, query}));
}

void TestControllerUSM::focusOnlyBoard()
{
    auto driver = makeDriver();
    driver->setZoomPosition(100);
    driver->setIrisPosition(100);
    driver->pelco_d_zoom_in();
    driver->pelco_d_zoom_out();
    driver->pelco_d_zoom_stop();
    driver->pelco_d_iris_open();
    driver->pelco_d_iris_close();
    driver->pelco_d_iris_stop();
    driver->setZoomSpeed(2);
    driver->setLensType(3);
    driver->initMotor();
    driver->disableStallDetection(true);
    driver->setSensitivityMode(1);
    QCOMPARE(driver->getZoomPosition(), 0);
    QCOMPARE(driver->getIrisPosition(), 0);
    QCOMPARE(driver->getMaxZoomPosition(), 0);
    QCOMPARE(driver->getMaxIrisPosition(), 0);
    QCOMPARE(driver->getSensitivityMode(), 0);
    QCOMPARE(driver->getMaxFocusPosition(), 4550);
    QVERIFY(m_events.isEmpty());
}

// --- Calibration ---------------------------------------------------------------

void TestControllerUSM::calibrationSequence()
{
    auto driver = makeDriver();
    driver->setFocusSpeed(0); // calibration runs at 81 whatever the operator chose
    driver->replies << statusReply(50000, 1) << statusReply(1000) << statusReply(1000)
                    << statusReply(1005);
    QTest::ignoreMessage(QtDebugMsg, "rawMinPos:  1000");
    QTest::ignoreMessage(QtDebugMsg, "minPos:  0");
    QTest::ignoreMessage(QtDebugMsg, "maxPos:  50000");
    QTest::ignoreMessage(QtDebugMsg, "maxSteps:  48900");
    QTest::ignoreMessage(QtDebugMsg, "posOffset:  1000");
    driver->calibrateAll();

    QCOMPARE(m_events, QStringList({sentHex("016401000000510000bd74000000"),
                                    QStringLiteral("pause 8000"), query,
                                    sentHex("01640100000051ffff428c000000"),
                                    QStringLiteral("pause 8000"), stopFrame, query, query, query}));
    QCOMPARE(driver->getMaxFocusPosition(), 4890);

    // Focus positions now count from the near end found.
    m_events.clear();
    driver->replies << statusReply(1995) << statusReply(1000) << statusReply(1000);
    QCOMPARE(driver->getFocusPosition(), 99);
    driver->pelco_d_focus_far();
    driver->setFocusPosition(100);
    QCOMPARE(m_events, QStringList({query, query, sentHex("016401000000280000bf04000000"),
                                    query, sentHex("01640100000028000003e8000000")}));
}

void TestControllerUSM::failedCalibrationKeepsRange_data()
{
    QTest::addColumn<QByteArray>("farReply");
    QTest::addColumn<QByteArray>("nearReply");

    QTest::newRow("far end unread") << QByteArray() << statusReply(1000);
    QTest::newRow("near end unread") << statusReply(50000) << QByteArray();
}

void TestControllerUSM::failedCalibrationKeepsRange()
{
    QFETCH(QByteArray, farReply);
    QFETCH(QByteArray, nearReply);

    auto driver = makeDriver();
    // A first, good calibration sets the range that the failed one must keep.
    driver->replies << statusReply(40000) << statusReply(-200);
    driver->calibrateAll();
    QCOMPARE(driver->getMaxFocusPosition(), 4010);

    m_events.clear();
    driver->replies.clear();
    driver->replies << farReply << nearReply;
    QTest::ignoreMessage(QtCriticalMsg, "Focus range not measured, previous range kept");
    QTest::ignoreMessage(QtDebugMsg, "maxSteps:  40100");
    QTest::ignoreMessage(QtDebugMsg, "posOffset:  -200");
    driver->calibrateAll();
    QVERIFY(m_events.contains(stopFrame));
    QCOMPARE(driver->getMaxFocusPosition(), 4010);

    m_events.clear();
    driver->replies << statusReply(-200);
    driver->setFocusPosition(0);
    QCOMPARE(m_events, QStringList({query, sentHex("0164010000005100000000000000")}));
}

// --- Presets -----------------------------------------------------------------

void TestControllerUSM::outOfRangePresetsAreIgnored_data()
{
    QTest::addColumn<int>("preset");

    QTest::newRow("0") << 0;
    QTest::newRow("11") << 11;
    QTest::newRow("0x81") << 0x81;
    QTest::newRow("0x80") << 0x80;
    QTest::newRow("0xff") << 0xff;
}

void TestControllerUSM::outOfRangePresetsAreIgnored()
{
    QFETCH(int, preset);

    auto driver = makeDriver();
    driver->replies << statusReply(1000) << statusReply(1000);
    driver->storePreset(char(preset));
    driver->callPreset(char(preset));
    QVERIFY(m_events.isEmpty());
}

void TestControllerUSM::presetsRoundTripThroughStore()
{
    {
        auto driver = makeDriver();
        driver->replies << statusReply(1005) << statusReply(-20);
        QTest::ignoreMessage(QtDebugMsg, "Store position:  100 in preset:  2");
        driver->storePreset(3);
        driver->storePreset(10);
        driver->storeInDevice();

        // On disk while the driver still lives, not only at some later write-back.
        QFile file(m_storeFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray contents = file.readAll();
        QVERIFY2(contents.contains("2=100"), contents.constData());
        QVERIFY2(contents.contains("9=-2"), contents.constData());
    }

    QSettings store = presetStore();
    QStringList keys;
    for (int i = 0; i < 10; ++i)
        keys << QStringLiteral("preset/%1").arg(i);
    QStringList stored = store.allKeys();
    stored.sort();
    QCOMPARE(stored, keys);
    QCOMPARE(store.value(QStringLiteral("preset/2")).toInt(), 100);
    QCOMPARE(store.value(QStringLiteral("preset/0")).toInt(), 0);

    // A new driver starts from the stored presets.
    m_events.clear();
    auto driver = makeDriver();
    driver->replies << statusReply(0) << statusReply(0) << statusReply(0);
    driver->callPreset(3);
    driver->callPreset(10);
    driver->callPreset(1);
    QCOMPARE(m_events, QStringList({query, sentHex("01640100000051000003e8000000"),
                                    query, sentHex("01640100000051ffffffec000000"),
                                    query, sentHex("0164010000005100000000000000")}));
}

void TestControllerUSM::failedReadKeepsPreset()
{
    auto driver = makeDriver();
    driver->replies << statusReply(420) << QByteArray() << statusReply(0);
    driver->storePreset(5);
    QTest::ignoreMessage(QtCriticalMsg, "Focus position unknown, preset 5 kept");
    driver->storePreset(5);
    driver->callPreset(5);
    QCOMPARE(m_events.last(), sentHex("01640100000051000001a4000000"));
}

void TestControllerUSM::failedStoreIsReported()
{
    auto driver = makeDriver();
    // From now on nothing can be written where the store's file would be.
    QVERIFY(QDir().mkpath(m_storeFile));
    QTest::ignoreMessage(QtCriticalMsg, "Could not store the presets:  QSettings::AccessError");
    driver->storeInDevice();
    QVERIFY(m_events.isEmpty());
}

QTEST_MAIN(TestControllerUSM)

#include "tst_controllerusm.moc"
