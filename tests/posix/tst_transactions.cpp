// The drivers' transactions with a real serial port: the driver opens the
// pseudo-terminal of a scripted board, which answers each frame with the next
// queued reply, whole, in pieces or late; a frame that never reaches a board;
// and the waits with the window's keep-alive installed.

#include "controller_tavro.h"
#include "controller_usm.h"
#include "driversetup.h"
#include "exchangelog.h"
#include "keepalive.h"
#include "pellanframes.h"
#include "scriptedpeer.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

#include <functional>
#include <memory>
#include <pty.h>
#include <unistd.h>
#include <utility>

namespace {

// The extra wait is long enough that waiting for data already there shows.
constexpr LinkTimeouts tavroLimits{5000, 500, 1500};
constexpr LinkTimeouts pellanLimits{5000, 500, 0};

// The operations the tables name: the frame each one sends, what it returns
// when the exchange fails, and how to run it.
struct Operation
{
    QByteArray frame;
    int failed;
    std::function<int(Controller &)> run;
};
const QMap<QString, Operation> operations{
    {"zoom in", {"ff000020000020", 0, [](Controller &c) { c.pelco_d_zoom_in(); return 0; }}},
    {"zoom", {"fe080000000000", -1, [](Controller &c) { return c.getZoomPosition(); }}},
    {"lens type", {"fe100000000000", -1, [](Controller &c) { return c.getLensType(); }}},
    {"stop", {"01640100000051000000000000001dd7", 0, [](Controller &c) { c.pelco_d_focus_stop(); return 0; }}},
    {"status", {"01650000000000000000000000002665", -1, [](Controller &c) { return c.getFocusPosition(); }}}};

bool isPellan(const Operation &operation)
{
    return operation.frame.size() == 2 * PellanFrames::frameLength;
}

std::unique_ptr<Controller> driverFor(const Operation &operation, const QString &port)
{
    if (isPellan(operation))
        return std::make_unique<ControllerUSM>(port);
    return std::make_unique<ControllerTavro>(port);
}

// Expects each line, prefixed I(nfo), D(ebug) or C(ritical); a line starting
// with ^ is a pattern.
void expectLines(const QStringList &lines)
{
    for (const QString &line : lines) {
        const QtMsgType type = line[0] == u'I' ? QtInfoMsg : line[0] == u'D' ? QtDebugMsg : QtCriticalMsg;
        if (line.mid(2).startsWith(u'^'))
            QTest::ignoreMessage(type, QRegularExpression(line.mid(2)));
        else
            QTest::ignoreMessage(type, qPrintable(line.mid(2)));
    }
}

// How the exchange ended, as its log lines tell.
ExchangeRecord::Outcome outcomeOf(const QStringList &lines)
{
    const QString log = lines.join(QLatin1Char('\n'));
    if (log.contains(QLatin1String("Timeout waiting for response, received")))
        return ExchangeRecord::Outcome::IncompleteReply;
    if (log.contains(QLatin1String("Timeout waiting for response")))
        return ExchangeRecord::Outcome::NoReply;
    if (log.contains(QLatin1String("unexpected response")))
        return ExchangeRecord::Outcome::Rejected;
    return ExchangeRecord::Outcome::Ok;
}

} // namespace

Q_DECLARE_METATYPE(ScriptedPeer::Reply)

class TestTransactions : public QObject
{
    Q_OBJECT

private slots:
    // The Pellan driver reads the preset store; keep the operator's own out of reach.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { KeepAlive::setFunction(nullptr); }
    void exchanges_data();
    void exchanges();
    void frameNotSent_data();
    void frameNotSent();
    void keepAliveDuringAQuery_data();
    void keepAliveDuringAQuery();
};

void TestTransactions::exchanges_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<ScriptedPeer::Reply>("reply"); // empty: the board stays silent
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("lines");

    const auto row = [](const char *name, const ScriptedPeer::Reply &reply, int value, const QStringList &lines) {
        QTest::newRow(name) << QString::fromLatin1(name).section(',', 0, 0) << reply << value << lines;
    };
    const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    const auto pieces = [&hex](const char *text, int lastDelayMs = 1) {
        return ScriptedPeer::pieces(hex(text), 1, lastDelayMs);
    };
    const QString ok = QStringLiteral("I Received OK response");
    const QString failed = QStringLiteral("D getZoomPosition failed");
    const QStringList value1000{ok, "D \"e8030000\"", "D position:  1000"};

    row("zoom in, 00", {{hex("00"), 0}}, 0, {ok});
    row("zoom in, 000102", {{hex("000102"), 0}}, 0, {ok});
    for (const char *status : {"01", "02", "FF"})
        QTest::addRow("zoom in, %s00", status) << "zoom in" << ScriptedPeer::Reply{{hex(status) + hex("00"), 0}} << 0
                                             << QStringList{QStringLiteral("C Received unexpected response:  \"\\x%1\\x00\"").arg(status)};
    row("zoom in, silent", {}, 0, {"C Timeout waiting for response"});
    row("zoom, 00e8030000", {{hex("00e8030000"), 0}}, 1000, value1000);
    // Bytes beyond the expected count are left unread.
    row("zoom, 00e803000077", {{hex("00e803000077"), 0}}, 1000, value1000);
    // The data may come in any number of pieces within the extra wait, counted from the first bytes.
    row("zoom, 00e803 + 0000", {{hex("00e803"), 0}, {hex("0000"), 100}}, 1000, value1000);
    row("zoom, 00e803 + 0000 after 1200 ms", {{hex("00e803"), 0}, {hex("0000"), 1200}}, 1000, value1000);
    row("zoom, 00 e8 03 00 00", pieces("00e8030000"), 1000, value1000);
    row("zoom, 00 e8 03 00 + 00 too late (1800 ms)", pieces("00e8030000", 1800), -1,
        {ok, "C Timeout waiting for response, received 3 Bytes", failed});
    row("zoom, 00e803 + 00 (rest never comes)", {{hex("00e803"), 0}, {hex("00"), 100}}, -1,
        {ok, "C Timeout waiting for response, received 3 Bytes", failed});
    for (const char *status : {"01", "02", "FF"})
        QTest::addRow("zoom, %se8030000", status) << "zoom" << ScriptedPeer::Reply{{hex(status) + hex("e8030000"), 0}} << -1
            << QStringList{QStringLiteral("C Received unexpected response:  \"\\x%1\"").arg(status), failed};
    row("zoom, silent", {}, -1, {"C Timeout waiting for response for NOK/OK", failed});
    // The lens type's one data byte, in 1-byte pieces 1 ms apart.
    row("lens type, 00 02", pieces("0002"), 2, {ok, "D \"02\""});
    row("lens type, 00 + 02 too late (1800 ms)", pieces("0002", 1800), -1,
        {ok, "C Timeout waiting for response, received 0 Bytes"});

    // The Pellan board: a command is acknowledged by its exact echo, and the
    // whole reply must be in within the reply time-out, counted from the write.
    const QByteArray stop = hex("01640100000051000000000000001dd7");
    const QByteArray status1005 = hex("0165000000000000000003ed0000b614"); // raw position 1005
    QByteArray otherCrc = stop;
    otherCrc[15] = char(otherCrc[15] ^ 0x01);
    const QString unexpected = QStringLiteral("C ^Received unexpected response:  \"");
    const QString position = "D \"" + status1005.toHex() + '"';
    row("stop, exact echo", {{stop, 0}}, 0, {ok});
    row("stop, echo with other CRC", {{otherCrc, 0}}, 0, {unexpected});
    row("stop, echo + 0102", {{stop + hex("0102"), 0}}, 0, {unexpected});
    row("stop, silent", {}, 0, {"C Timeout waiting for response"});
    row("status, 20 bytes", {{status1005 + hex("7fffffff"), 0}}, 100, {position});
    row("status, 10 bytes + 6", {{status1005.left(10), 0}, {status1005.mid(10), 300}}, 100, {position});
    row("status, 10 bytes + 6 too late", {{status1005.left(10), 0}, {status1005.mid(10), 700}}, -1,
        {"C Timeout waiting for response, received 10 Bytes"});
    row("status, 1-byte pieces", ScriptedPeer::pieces(status1005, 1, 1), 100, {position});
    row("status, 1-byte pieces, last too late", ScriptedPeer::pieces(status1005, 1, 700), -1,
        {"C Timeout waiting for response, received 15 Bytes"});
    row("stop, echo in 1-byte pieces", ScriptedPeer::pieces(stop, 1, 1), 0, {ok});
    row("stop, echo, last piece too late", ScriptedPeer::pieces(stop, 1, 700), 0, {unexpected});
    row("status, silent", {}, -1, {"C Timeout waiting for response for NOK/OK"});
}

void TestTransactions::exchanges()
{
    QFETCH(QString, operation);
    QFETCH(ScriptedPeer::Reply, reply);
    QFETCH(int, value);
    QFETCH(QStringList, lines);

    const Operation &op = operations[operation];
    const bool pellan = isPellan(op);
    const DriverSetup setup(tavroLimits, pellanLimits);
    ScriptedPeer board(int(op.frame.size() / 2));
    if (!reply.isEmpty())
        board.queueReply(reply);
    const std::unique_ptr<Controller> driver = driverFor(op, board.portName());
    expectLines(lines + QStringList{"D data to transmit", "D \"" + op.frame + '"'});
    QList<ExchangeRecord> records;
    const ExchangeLog::Subscription listening([&records](const ExchangeRecord &record) { records << record; });
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(op.run(*driver), value);
    if (value != -1)
        QVERIFY2(elapsed.elapsed() < tavroLimits.extraReplyMs, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY(board.waitForFrames(1, 5000));
    QCOMPARE(board.frames(), QList<QByteArray>{QByteArray::fromHex(op.frame)});
    QCOMPARE(board.lineSettings(), QStringList{pellan ? "115200 8N1, no flow control" : "19200 8N1, no flow control"});
    QVERIFY(setup.reports.isEmpty());

    // One record, with the reply bytes as they came, however late or in how
    // many pieces; the round trip counts every wait for them.
    QCOMPARE(records.size(), 1);
    const ExchangeRecord &record = records.first();
    QCOMPARE(record.frame.toHex(), op.frame);
    QCOMPARE(record.board, pellan ? BoardType::Pellan : BoardType::Tavro);
    QCOMPARE(record.port, board.portName());
    QCOMPARE(record.outcome, outcomeOf(lines));
    QByteArray sent;
    int delays = 0;
    for (const ScriptedPeer::Burst &burst : reply) {
        sent += burst.bytes;
        delays += burst.delayBeforeMs;
    }
    QVERIFY2(sent.startsWith(record.reply), record.reply.toHex().constData());
    if (!QByteArray(QTest::currentDataTag()).contains("too late")) {
        QCOMPARE(record.reply.toHex(), sent.toHex());
        QVERIFY2(record.roundTripMs >= delays && record.roundTripMs <= elapsed.nsecsElapsed() / 1e6,
                 qPrintable(QString::number(record.roundTripMs)));
    }
}

void TestTransactions::frameNotSent_data()
{
    QTest::addColumn<QString>("port"); // "missing", "stopped" (its output) or "hung up" (once stopped)
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("lines"); // two critical lines, then the outcome; %1: the port

    // Not refused: a device that does not exist earns no reminder of the dialout group.
    const QStringList notOpened{"Could not open serial port:  \"%1\"", "Reason:  \"No such file or directory\"",
                                "opening: No such file or directory"};
    const QStringList timedOut{"Timeout waiting for bytes to be written", "Error:  QSerialPort::TimeoutError",
                               "while writing: Timeout waiting for bytes to be written"};
    // A line that hangs up gives no reason of its own.
    const QStringList notWritten{"Could not write to serial port:  \"%1\"", "Reason:  \"Unknown error\"",
                                 "while writing: Unknown error"};
    for (const char *operation : {"zoom in", "zoom"}) {
        QTest::addRow("missing port, %s", operation) << "missing" << operation << notOpened;
        QTest::addRow("output stopped, %s", operation) << "stopped" << operation << timedOut;
        QTest::addRow("line hung up while the frame waits, %s", operation) << "hung up" << operation << notWritten;
    }
    for (const char *operation : {"stop", "status"})
        QTest::addRow("missing port, Pellan %s", operation) << "missing" << operation << notOpened;
}

// The frame never reaches the board: the log and the outcome say where it
// failed, with the system's reason, and nobody is told anything else.
void TestTransactions::frameNotSent()
{
    QFETCH(QString, port);
    QFETCH(QString, operation);
    QFETCH(QStringList, lines);

    // A bare device name, as the system lists ports; it stands for /dev/nonexistent-lens.
    QString name = QStringLiteral("nonexistent-lens");
    int master = -1;
    int slave = -1;
    char path[64] = {};
    if (port != "missing") {
        QVERIFY(::openpty(&master, &slave, path, nullptr, nullptr) == 0 && ::tcflow(slave, TCOOFF) == 0);
        name = QString::fromLatin1(path);
    }
    lines.replaceInStrings(QStringLiteral("%1"), name);
    for (const QString &line : lines.mid(0, 2))
        QTest::ignoreMessage(QtCriticalMsg, qPrintable(line));
    const DriverSetup setup({300, 300, 0}, {300, 300, 0});
    KeepAlive::setFunction([&](KeepAlive::Reason, qint64) {
        if (port == "hung up")
            ::close(std::exchange(master, -1));
    });
    QList<ExchangeRecord> records;
    const ExchangeLog::Subscription listening([&records](const ExchangeRecord &record) { records << record; });
    const Operation &op = operations[operation];
    const auto driver = driverFor(op, name);
    QCOMPARE(op.run(*driver), op.failed);
    ::close(master);
    ::close(slave);

    const Outcome outcome = driver->takeOutcome();
    QCOMPARE(outcome.kind, Outcome::Kind::PortFailure);
    QVERIFY(!outcome.permission);
    QCOMPARE((outcome.whileWriting ? "while writing: " : "opening: ") + outcome.reason, lines.at(2));
    QVERIFY(setup.reports.isEmpty());
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.first().outcome,
             port == "missing" ? ExchangeRecord::Outcome::PortNotOpened : ExchangeRecord::Outcome::NotWritten);
    QVERIFY(port != "missing" || records.first().roundTripMs < 0);
}

// With a keep-alive installed, as the window has it: called at least every
// slice however the reply comes, back as soon as the reply is in, and giving
// up no sooner or later than the time-outs say.
void TestTransactions::keepAliveDuringAQuery_data()
{
    QTest::addColumn<ScriptedPeer::Reply>("reply");
    QTest::addColumn<int>("keepAliveMs"); // how long the keep-alive takes before it runs the event loop
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    const QByteArray reply = QByteArray::fromHex("00e8030000");
    QTest::newRow("silent board") << ScriptedPeer::Reply{} << 0 << -1 << 400 << 480;
    QTest::newRow("late reply") << ScriptedPeer::Reply{{reply, 230}} << 0 << 1000 << 230 << 330;
    // The reply arrives while the keep-alive runs, and the port takes it in from the event loop.
    QTest::newRow("reply during the keep-alive") << ScriptedPeer::Reply{{reply, 70}} << 60 << 1000 << 70 << 250;
    // No slice ever runs out while the bytes trickle in.
    QTest::newRow("one byte every 40 ms") << ScriptedPeer::pieces(reply, 40, 40) << 0 << 1000 << 160 << 350;
}

void TestTransactions::keepAliveDuringAQuery()
{
    QFETCH(ScriptedPeer::Reply, reply);
    QFETCH(int, keepAliveMs);
    QFETCH(int, value);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    const LinkTimeouts limits{500, 400, 300};
    const DriverSetup setup(limits, pellanLimits);
    ScriptedPeer board(7);
    if (!reply.isEmpty())
        board.queueReply(reply);
    ControllerTavro driver(board.portName());
    QElapsedTimer clock;
    QList<qint64> calls{0};
    KeepAlive::setFunction([&](KeepAlive::Reason reason, qint64 remainingMs) {
        QCOMPARE(reason, KeepAlive::Reason::Board);
        QVERIFY(remainingMs >= 0 && remainingMs <= limits.writeMs);
        calls << clock.elapsed();
        QThread::msleep(keepAliveMs);
        QCoreApplication::processEvents();
    });
    if (value == -1) {
        QTest::ignoreMessage(QtCriticalMsg, "Timeout waiting for response for NOK/OK");
        QTest::ignoreMessage(QtDebugMsg, "getZoomPosition failed");
    }
    clock.start();
    QCOMPARE(driver.getZoomPosition(), value);
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= minMs && took <= maxMs, qPrintable(QString::number(took)));
    calls << took;
    for (int i = 1; i < calls.size(); ++i)
        QVERIFY2(calls[i] - calls[i - 1] <= 2 * KeepAlive::sliceMs + keepAliveMs,
                 qPrintable(QStringLiteral("%1 ms after %2 ms").arg(calls[i] - calls[i - 1]).arg(calls[i - 1])));
}

QTEST_MAIN(TestTransactions)
#include "tst_transactions.moc"
