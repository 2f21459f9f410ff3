#include "controller_usm.h"
#include "keepalive.h"
#include "pause.h"
#include "pellanframes.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <functional>

namespace {

QString sent(const QByteArray &payload)
{
    return "send " + QString::fromLatin1(PellanFrames::sealed(payload).toHex());
}

// The move frame with the given speed byte and four travel bytes, in hex.
QString mv(const char *speed, const char *travel)
{
    return sent(QByteArray::fromHex(QByteArray("016401000000") + speed + travel + "000000"));
}

const QString query = QStringLiteral("query");
const QString settle = QStringLiteral("pause 500");
const QString stop = mv("51", "00000000");

// A 16-byte status reply: running flag at byte 3, raw position big-endian at bytes 8 to 11.
QByteArray status(qint32 raw, char running = 0)
{
    QByteArray payload = QByteArray::fromHex("0165000000000000000000000000");
    payload[3] = running;
    for (int i = 0; i < 4; ++i)
        payload[8 + i] = char(quint32(raw) >> (24 - 8 * i));
    return PellanFrames::sealed(payload);
}

// Records the frames handed to the transport and answers status queries from a
// script; a query with no reply left (or an empty one) fails.
class CapturingUSM : public ControllerUSM
{
public:
    explicit CapturingUSM(QStringList *events) : ControllerUSM("ttyPELLAN"), m_events(events) {}

    QList<QByteArray> replies;

private:
    bool transmitData(QByteArray data) override { return (*m_events << sent(data), true); }

    bool transmitAndRecieve(QByteArray data, QByteArray *response, int nofBytes) override
    {
        *m_events << (data == PellanFrames::statusQuery() ? query : sent(data));
        const QByteArray reply = replies.isEmpty() ? QByteArray() : replies.takeFirst();
        if (reply.size() >= nofBytes)
            *response = reply.left(nofBytes);
        return noted(reply.size() >= nofBytes ? Outcome() : Outcome(Outcome::Kind::NoReply));
    }

    QStringList *m_events;
};

using D = ControllerUSM;
using Operation = std::function<int(D &)>;

} // namespace

#define OP(calls) Operation([](D &d) { calls; return 0; })

Q_DECLARE_METATYPE(Operation)

class TestControllerUSM : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void sealedFrames_data();
    void sealedFrames();
    void replies_data();
    void replies();
    void statusReplies_data();
    void statusReplies();
    void operations_data();
    void operations();
    void calibration();
    void presetsRoundTripThroughStore();

private:
    QStringList m_events;
    // Known before any driver exists: a settings object opened on it would write back pending values.
    QString m_storeFile;
};

void TestControllerUSM::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_storeFile = QSettings(QStringLiteral("Corvane"), QStringLiteral("Tavro Lens Controller")).fileName();
    QVERIFY2(m_storeFile.contains(QLatin1String(".qttest")), qPrintable(m_storeFile));
    Pause::setFunction([this](unsigned long ms) { m_events << QStringLiteral("pause %1").arg(ms); });
    KeepAlive::setFunction([this](KeepAlive::Reason reason, qint64 ms) {
        if (reason == KeepAlive::Reason::PausesAhead)
            m_events << QStringLiteral("pauses ahead %1").arg(ms);
    });
}

void TestControllerUSM::init()
{
    QFile::remove(m_storeFile);
    m_events.clear();
}

void TestControllerUSM::sealedFrames_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("crc");
    QTest::addColumn<QString>("meaning");

    const auto row = [](const char *payloadHex, const char *crcHex, const char *meaning) {
        QTest::newRow(payloadHex) << QByteArray::fromHex(payloadHex) << QByteArray::fromHex(crcHex) << QString(meaning);
    };
    row("313233343536373839", "374b", "unknown frame"); // the CRC-16/MODBUS check value 0x4B37
    row("0165000000000000000000000000", "2665", "status query");
    row("0164010000005100000000000000", "1dd7", "move 0 steps at speed 81 (stop)");
    row("016401000000510000bd74000000", "6a3c", "move +48500 steps at speed 81"); // calibration, far end
    row("01640100000051ffff428c000000", "5448", "move -48500 steps at speed 81"); // calibration, near end
    row("01640100000051000003e8000000", "6c77", "move +1000 steps at speed 81");
    row("0164010000002880000000000000", "5b51", "move -2147483648 steps at speed 40");
    row("016401000000f37fffffff000000", "28be", "move +2147483647 steps at speed 243");
    row("0164020000005100000000000000", "19d3", "unknown frame");
}

void TestControllerUSM::sealedFrames()
{
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, crc);
    QFETCH(QString, meaning);

    const QByteArray frame = PellanFrames::sealed(payload);
    QCOMPARE(frame.toHex(), (payload + crc).toHex());
    // Read back, the frame says what it asks, builds again to itself, and a
    // wrong CRC is named.
    QCOMPARE(PellanFrames::describeFrame(frame).text, meaning);
    if (const std::optional<PellanFrames::Move> move = PellanFrames::decodeMove(payload))
        QCOMPARE(PellanFrames::moveCommand(move->speed, move->travel).toHex(), payload.toHex());
    QByteArray damaged = frame;
    damaged[damaged.size() - 1] = char(damaged.back() ^ 0x01);
    const FrameMeaning wrong = PellanFrames::describeFrame(damaged);
    QCOMPARE(wrong.understood, false);
    QVERIFY2(meaning == QLatin1String("unknown frame")
                 || wrong.text == meaning + ", CRC wrong (expected " + QString::fromLatin1(crc.toHex(' ').toUpper()) + ')',
             qPrintable(wrong.text));
}

void TestControllerUSM::replies_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<bool>("understood");

    const QByteArray stop = PellanFrames::sealed(PellanFrames::moveCommand(81, 0));
    const QByteArray query = PellanFrames::sealed(PellanFrames::statusQuery());
    QByteArray badCrc = status(1005);
    badCrc[15] = char(badCrc[15] ^ 0x40);
    const auto row = [](const char *name, const QByteArray &frame, const QByteArray &reply, const char *meaning,
                        bool understood = true) {
        QTest::newRow(name) << frame << reply << QString(meaning) << understood;
    };
    row("echo", stop, stop, "echo");
    row("echo + 0102", stop, stop + QByteArray::fromHex("0102"), "echo (+2 bytes)");
    row("exception", stop, PellanFrames::sealed(QByteArray::fromHex("01e404")), "rejected (exception 04)");
    row("other move", stop, PellanFrames::sealed(PellanFrames::moveCommand(81, 5)), "move +5 steps at speed 81");
    row("status, standing", query, status(1005), "position 1005, standing");
    row("status, running", query, status(-10, char(0xFF)), "position -10, running");
    row("status + 7f", query, status(7) + '\x7f', "position 7, standing (+1 byte)");
    row("status, CRC wrong", query, badCrc, "position 1005, standing, CRC wrong (expected B6 14)", false);
    row("status, 10 bytes", query, status(1005).left(10), "unknown frame", false);
    row("noise", query, QByteArray::fromHex("ff0165000000000000000003ed0000b6"), "unknown frame", false);
    row("nothing", query, QByteArray(), "");
}

void TestControllerUSM::replies()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    QFETCH(QString, meaning);
    QFETCH(bool, understood);

    const FrameMeaning read = PellanFrames::describeReply(frame, reply);
    QCOMPARE(read.text, meaning);
    QCOMPARE(read.understood, understood);
}

// The driver moves only from a whole status reply of the board's: one that is
// not is logged once, says why, and counts as a failed exchange.
void TestControllerUSM::statusReplies_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("fault");

    const auto row = [](const char *hex, const char *fault) {
        QTest::newRow(hex) << QByteArray::fromHex(hex) << QString::fromLatin1(fault);
    };
    row("0165000000000000000003ed0000b614", "");
    row("0165000000000000004003ed0000b614", "CRC wrong (expected B7 DB)"); // a line error in a position byte
    row("0265000000000000000003ed0000b517", "address 02, not 01");
    row("0164000000000000000003ed0000b495", "function 64, not 65");
    row("0165000000000000000003ed0000b6", "15 bytes, not 16");
}

void TestControllerUSM::statusReplies()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, fault);

    QCOMPARE(PellanFrames::statusReplyFault(reply).value_or(QString()), fault);
    CapturingUSM driver(&m_events);
    driver.replies = {reply};
    if (reply.size() == PellanFrames::statusReplyLength && !fault.isEmpty())
        QTest::ignoreMessage(QtCriticalMsg,
                             qPrintable("Status reply not used, " + fault + ": " + FrameMeaning::hex(reply)));
    if (!fault.isEmpty())
        QTest::ignoreMessage(QtCriticalMsg, "Focus position unknown, move not sent");
    driver.setFocusPosition(0);
    QCOMPARE(m_events, fault.isEmpty() ? QStringList({query, mv("51", "fffffc13")}) : QStringList{query});
    QCOMPARE(driver.takeOutcome().ok(), fault.isEmpty());
}

void TestControllerUSM::operations_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("critical"); // the line logged, if any

    const auto row = [](const char *name, Operation op, const QList<QByteArray> &replies, int value,
                        const QStringList &events, const char *critical = "") {
        QTest::newRow(name) << op << replies << value << events << QString::fromLatin1(critical);
    };
    // Moves: the speed byte follows the operator's choice; the travel starts where the status says.
    row("51 000003e8: speed unset", OP(d.setFocusPosition(100)), {status(0)}, 0, {query, mv("51", "000003e8")});
    for (const auto &[level, byte] : QList<QPair<int, const char *>>{{0, "28"}, {1, "51"}, {2, "f3"}, {7, "51"}})
        row(qPrintable(QStringLiteral("%1 000003e8: speed %2").arg(byte).arg(level)),
            [level = level](D &d) { d.setFocusSpeed(char(level)); d.setFocusPosition(100); return 0; },
            {status(0)}, 0, {query, mv(byte, "000003e8")});
    row("51 fffffed4: near", OP(d.pelco_d_focus_near()), {status(300)}, 0, {query, mv("51", "fffffed4")});
    row("51 7fffffff: travel cut to 32 bits", OP(d.setFocusPosition(300000000)), {status(0)}, 0,
        {query, mv("51", "7fffffff")});
    row("f3 0000afc8: far", OP(d.setFocusSpeed(2); d.pelco_d_focus_far()), {status(500)}, 0,
        {query, mv("f3", "0000afc8")});
    row("51 fffffed4: unset preset", OP(d.callPreset(4)), {status(300)}, 0, {query, mv("51", "fffffed4")});
    row("51 00000000: stop", OP(d.setFocusSpeed(2); d.pelco_d_focus_stop()), {}, 0, {stop});
    row("28 fffffed4: preset low, then 51", OP(d.callPresetAtSpeed(4, 0); d.setFocusPosition(100)), {status(300), status(0)},
        0, {query, mv("28", "fffffed4"), query, mv("51", "000003e8")});
    // Stopped once although still running at the second read (raw -10, written out).
    row("51 0000000a: running motor", OP(d.setFocusPosition(0)),
        {status(500, char(0xff)), QByteArray::fromHex("0165000100000000fffffff60000f2a4")}, 0,
        {query, stop, settle, query, mv("51", "0000000a")});
    const char *unknown = "Focus position unknown, move not sent";
    const QStringList stopped{query, stop, settle, query};
    row("position, no status", OP(d.setFocusPosition(1)), {}, 0, {query}, unknown);
    row("near, no status", OP(d.pelco_d_focus_near()), {}, 0, {query}, unknown);
    row("position, no status after stop", OP(d.setFocusPosition(1)), {status(0, 1)}, 0, stopped, unknown);
    row("far, no status after stop", OP(d.pelco_d_focus_far()), {status(0, 1)}, 0, stopped, unknown);
    // Reads: ten raw steps per position, truncated toward zero.
    const auto position = [](D &d) { return d.getFocusPosition(); };
    const auto lensType = [](D &d) { return d.getLensType(); };
    row("position, raw 1005", position, {status(1005)}, 100, {query});
    row("position, raw -15", position, {status(-15)}, -1, {query});
    row("lens type, raw -15", lensType, {status(-15)}, 0, {query});
    row("lens type, no reply", lensType, {}, -1, {query});
    // Presets: numbers outside 1..10 do nothing; a failed read keeps the stored one.
    row("preset 0", OP(d.storePreset(0); d.callPreset(0)), {status(9)}, 0, {});
    row("preset 11", OP(d.storePreset(11); d.callPreset(11)), {status(9)}, 0, {});
    row("preset 0x81", OP(d.storePreset(char(0x81)); d.callPreset(char(0x81))), {status(9)}, 0, {});
    row("preset kept", OP(d.storePreset(5); d.storePreset(5); d.callPreset(5)), {status(420), {}, status(0)}, 0,
        {query, query, query, mv("51", "000001a4")}, "Focus position unknown, preset 5 kept");
}

void TestControllerUSM::operations()
{
    QFETCH(Operation, operation);
    QFETCH(QList<QByteArray>, replies);
    QFETCH(int, value);
    QFETCH(QStringList, events);
    QFETCH(QString, critical);

    CapturingUSM driver(&m_events);
    driver.replies = replies;
    if (!critical.isEmpty())
        QTest::ignoreMessage(QtCriticalMsg, qPrintable(critical));
    QCOMPARE(operation(driver), value);
    QCOMPARE(m_events, events);
}

void TestControllerUSM::calibration()
{
    CapturingUSM driver(&m_events);
    driver.setFocusSpeed(0); // calibration runs at 81 whatever the operator chose
    driver.replies = {status(50000, 1), status(1000), status(1000), status(1005)};
    driver.calibrateAll();
    const QString run = QStringLiteral("pause 8000");
    QCOMPARE(m_events, QStringList({"pauses ahead 16000", mv("51", "0000bd74"), run, query, mv("51", "ffff428c"), run,
                                    stop, query, query, query}));
    QCOMPARE(driver.getMaxFocusPosition(), 4890);

    // A missing end, or ends no farther apart than the margin (a motor that did not move), keeps the
    // range and offset measured before; the stop still goes out.
    const QList<QPair<QList<QByteArray>, const char *>> failures{
        {{{}, status(0)}, "Focus range not measured, previous range kept"},
        {{status(60000), {}}, "Focus range not measured, previous range kept"},
        {{status(1000), status(1000)}, "No focus travel measured, previous range kept"},
        {{status(1100), status(1000)}, "No focus travel measured, previous range kept"}};
    for (const auto &[ends, line] : failures) {
        m_events.clear();
        driver.replies = ends + QList<QByteArray>{{}, {}, status(1000)};
        QTest::ignoreMessage(QtCriticalMsg, line);
        driver.calibrateAll();
        QVERIFY(m_events.contains(stop));
        QCOMPARE(driver.getMaxFocusPosition(), 4890);
        driver.setFocusPosition(100);
        QCOMPARE(m_events.last(), mv("28", "000003e8"));
    }
}

void TestControllerUSM::presetsRoundTripThroughStore()
{
    {
        CapturingUSM driver(&m_events);
        driver.replies = {status(1005), status(-20)};
        driver.storePreset(3);
        driver.storePreset(10);
        driver.storeInDevice();
        // On disk while the driver still lives, not only at some later write-back.
        QFile file(m_storeFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray contents = file.readAll();
        QVERIFY2(contents.contains("2=100") && contents.contains("9=-2"), contents.constData());
    }
    m_events.clear();
    CapturingUSM driver(&m_events);
    driver.replies = {status(0), status(0), status(0)};
    driver.callPreset(3);
    driver.callPreset(10);
    driver.callPreset(1);
    QCOMPARE(m_events, QStringList({query, mv("51", "000003e8"), query, mv("51", "ffffffec"), query, stop}));
}

QTEST_MAIN(TestControllerUSM)
#include "tst_controllerusm.moc"
