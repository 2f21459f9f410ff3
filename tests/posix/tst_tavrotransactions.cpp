// The Tavro driver's transactions with a real serial port: the driver opens the
// pseudo-terminal of a scripted board and the board answers each frame with the
// next queued reply.

#include "controller_tavro.h"
#include "exchangelog.h"
#include "keepalive.h"
#include "operatorreport.h"
#include "scriptedpeer.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QtTest>

#include <functional>
#include <pty.h>
#include <unistd.h>
#include <utility>

namespace {

// The extra wait is long enough that waiting for data already there shows.
constexpr LinkTimeouts Limits{5000, 500, 1500};

struct Report
{
    QMessageBox::Icon icon;
    QString text;
    QString detail;
};

// The operations the tables name, with the frame each one sends.
struct Operation
{
    QByteArray frame;
    std::function<int(Controller &)> run;
};
const QMap<QString, Operation> operations{
    {"zoom in", {"ff000020000020", [](Controller &c) { c.pelco_d_zoom_in(); return 0; }}},
    {"zoom", {"fe080000000000", [](Controller &c) { return c.getZoomPosition(); }}},
    {"focus", {"fe090000000000", [](Controller &c) { return c.getFocusPosition(); }}},
    {"iris", {"fe0a0000000000", [](Controller &c) { return c.getIrisPosition(); }}},
    {"sensitivity", {"fe0c0000000000", [](Controller &c) { return c.getSensitivityMode(); }}},
    {"lens type", {"fe100000000000", [](Controller &c) { return c.getLensType(); }}},
    {"focus range", {"fe140000000000", [](Controller &c) { return c.getMaxFocusPosition(); }}},
    {"zoom range", {"fe150000000000", [](Controller &c) { return c.getMaxZoomPosition(); }}},
    {"iris range", {"fe160000000000", [](Controller &c) { return c.getMaxIrisPosition(); }}}};

// Expects each line, prefixed I(nfo), D(ebug) or C(ritical).
void expectLines(const QStringList &lines)
{
    for (const QString &line : lines) {
        const QtMsgType type = line[0] == u'I' ? QtInfoMsg : line[0] == u'D' ? QtDebugMsg : QtCriticalMsg;
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

class TestTavroTransactions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void exchanges_data();
    void exchanges();
    void frameNotSent_data();
    void frameNotSent();

private:
    QList<Report> m_reports;
    OperatorReport::Reporter m_previousReporter;
    LinkTimeouts m_previousTimeouts{};
};

void TestTavroTransactions::init()
{
    m_reports.clear();
    m_previousReporter = OperatorReport::setReporter(
        [this](QMessageBox::Icon icon, const QString &text, const QString &detail) {
            m_reports.append({icon, text, detail});
        });
    m_previousTimeouts = ControllerTavro::timeouts();
    ControllerTavro::setTimeouts(Limits);
}

void TestTavroTransactions::cleanup()
{
    OperatorReport::setReporter(m_previousReporter);
    ControllerTavro::setTimeouts(m_previousTimeouts);
}

void TestTavroTransactions::exchanges_data()
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
    row("zoom, 00 e8 03 00 + 00 after 1800 ms", pieces("00e8030000", 1800), -1,
        {ok, "C Timeout waiting for response, received 3 Bytes", failed});
    row("zoom, 00e803 + 00 (rest never comes)", {{hex("00e803"), 0}, {hex("00"), 100}}, -1,
        {ok, "C Timeout waiting for response, received 3 Bytes", failed});
    for (const char *status : {"01", "02", "FF"})
        QTest::addRow("zoom, %se8030000", status) << "zoom" << ScriptedPeer::Reply{{hex(status) + hex("e8030000"), 0}} << -1
            << QStringList{QStringLiteral("C Received unexpected response:  \"\\x%1\"").arg(status), failed};
    row("zoom, silent", {}, -1, {"C Timeout waiting for response for NOK/OK", failed});
    // Every query of the board, its reply in 1-byte pieces 1 ms apart.
    row("focus, 00 d0 07 00 00", pieces("00d0070000"), 2000, {ok, "D \"d0070000\"", "D position:  2000"});
    row("iris, 00 be 0a 00 00", pieces("00be0a0000"), 2750, {ok, "D \"be0a0000\"", "D position:  2750"});
    row("sensitivity, 00 01 00 00 00", pieces("0001000000"), 1, {ok, "D \"01000000\"", "D ******** SensitivityMode:  1"});
    row("lens type, 00 02", pieces("0002"), 2, {ok, "D \"02\""});
    row("lens type, 00 + 02 after 1800 ms", pieces("0002", 1800), -1, {ok, "C Timeout waiting for response, received 0 Bytes"});
    row("focus range, 00 a0 0f 00 00", pieces("00a00f0000"), 4000, {ok, "D \"a00f0000\"", "D Maxposition:  4000"});
    row("zoom range, 00 b6 1c 00 00", pieces("00b61c0000"), 7350, {ok, "D \"b61c0000\"", "D Maxposition:  7350"});
    row("iris range, 00 7c 15 00 00", pieces("007c150000"), 5500, {ok, "D \"7c150000\"", "D Maxposition:  5500"});
}

void TestTavroTransactions::exchanges()
{
    QFETCH(QString, operation);
    QFETCH(ScriptedPeer::Reply, reply);
    QFETCH(int, value);
    QFETCH(QStringList, lines);

    ScriptedPeer board(7);
    if (!reply.isEmpty())
        board.queueReply(reply);
    ControllerTavro driver(board.portName());
    const Operation &op = operations[operation];
    expectLines(lines + QStringList{"D data to transmit", "D \"" + op.frame + '"'});
    QList<ExchangeRecord> records;
    const ExchangeLog::Subscription listening([&records](const ExchangeRecord &record) { records << record; });
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(op.run(driver), value);
    if (value != -1)
        QVERIFY2(elapsed.elapsed() < Limits.extraReplyMs, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY(board.waitForFrames(1, 5000));
    QCOMPARE(board.frames(), QList<QByteArray>{QByteArray::fromHex(op.frame)});
    QCOMPARE(board.lineSettings(), QStringList{"19200 8N1, no flow control"});
    QVERIFY(m_reports.isEmpty());

    // One record, with the reply bytes as they came, however late or in how
    // many pieces; the round trip counts every wait for them.
    QCOMPARE(records.size(), 1);
    const ExchangeRecord &record = records.first();
    QCOMPARE(record.frame.toHex(), op.frame);
    QCOMPARE(record.port, board.portName());
    QCOMPARE(record.outcome, outcomeOf(lines));
    QByteArray sent;
    int delays = 0;
    for (const ScriptedPeer::Burst &burst : reply) {
        sent += burst.bytes;
        delays += burst.delayBeforeMs;
    }
    QVERIFY2(sent.startsWith(record.reply), record.reply.toHex().constData());
    if (!record.failed() || record.outcome == ExchangeRecord::Outcome::Rejected) {
        QCOMPARE(record.reply.toHex(), sent.toHex());
        QVERIFY2(record.roundTripMs >= delays && record.roundTripMs <= elapsed.nsecsElapsed() / 1e6,
                 qPrintable(QString::number(record.roundTripMs)));
    }
}

void TestTavroTransactions::frameNotSent_data()
{
    QTest::addColumn<QString>("port"); // "missing", "stopped" (its output) or "hung up" (once stopped)
    QTest::addColumn<bool>("query");
    QTest::addColumn<QStringList>("lines"); // two critical lines, then each report's text and details; %1: the port

    // No reminder of the dialout group for a device that does not exist.
    const QStringList notOpened{"Could not open serial port:  \"%1\"", "Reason:  \"No such file or directory\"",
                                "Could not open serial port: %1\nCheck that the port is not used by another application.",
                                "No such file or directory"};
    const QStringList timedOut{"Timeout waiting for bytes to be written", "Error:  QSerialPort::TimeoutError"};
    // A line that hangs up gives no reason of its own.
    const QStringList notWritten{"Could not write to serial port:  \"%1\"", "Reason:  \"Unknown error\""};
    const QStringList writeReport{"Could not write the frame to serial port: %1\nCheck that the board is still connected.",
                                  "Unknown error"};
    for (const bool query : {false, true}) {
        const char *kind = query ? "query" : "command";
        QTest::addRow("missing port, %s", kind) << "missing" << query << notOpened;
        QTest::addRow("output stopped, %s", kind) << "stopped" << query << timedOut;
        QTest::addRow("line hung up while the frame waits, %s", kind)
            << "hung up" << query << (query ? notWritten + writeReport : notWritten);
    }
}

// The frame never reaches the board. Only a query tells the operator, and only
// when the port failed: a frame that does not leave in time is only logged.
void TestTavroTransactions::frameNotSent()
{
    QFETCH(QString, port);
    QFETCH(bool, query);
    QFETCH(QStringList, lines);

    // A bare device name, as the system lists ports; it stands for /dev/nonexistent-tavro.
    QString name = QStringLiteral("nonexistent-tavro");
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
    ControllerTavro::setTimeouts({300, 300, 0});
    KeepAlive::setFunction([&](KeepAlive::Reason, qint64) {
        if (port == "hung up")
            ::close(std::exchange(master, -1));
    });
    QList<ExchangeRecord> records;
    const ExchangeLog::Subscription listening([&records](const ExchangeRecord &record) { records << record; });
    ControllerTavro driver(name);
    QCOMPARE(operations[query ? "zoom" : "zoom in"].run(driver), query ? -1 : 0);
    KeepAlive::setFunction({});
    ::close(master);
    ::close(slave);

    QStringList reported;
    for (const Report &report : m_reports)
        reported << (report.icon == QMessageBox::Critical ? report.text : "not critical") << report.detail;
    QCOMPARE(reported, lines.mid(2));
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.first().outcome,
             port == "missing" ? ExchangeRecord::Outcome::PortNotOpened : ExchangeRecord::Outcome::NotWritten);
    QVERIFY(port != "missing" || records.first().roundTripMs < 0);
}

QTEST_MAIN(TestTavroTransactions)
#include "tst_tavrotransactions.moc"
