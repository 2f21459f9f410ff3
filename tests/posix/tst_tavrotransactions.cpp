// The Tavro driver's transactions with a real serial port: the driver opens the
// pseudo-terminal of a scripted board and the board answers each frame with the
// next queued reply.

#include "controller_tavro.h"
#include "operatorreport.h"
#include "scriptedpeer.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QtTest>

#include <functional>

namespace {

// The extra wait is long enough that waiting for data already there shows.
constexpr LinkTimeouts Limits{5000, 500, 1500};

struct Report
{
    QMessageBox::Icon icon;
    QString text;
};

// A command and a query, the two kinds of transaction.
const std::function<int(Controller &)> operations[] = {
    [](Controller &c) { c.pelco_d_zoom_in(); return 0; },
    [](Controller &c) { return c.getZoomPosition(); }};

// Expects each line, prefixed I(nfo), D(ebug) or C(ritical).
void expectLines(const QStringList &lines)
{
    for (const QString &line : lines) {
        const QtMsgType type = line[0] == u'I' ? QtInfoMsg : line[0] == u'D' ? QtDebugMsg : QtCriticalMsg;
        QTest::ignoreMessage(type, qPrintable(line.mid(2)));
    }
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
    void portCannotBeOpened();

private:
    QList<Report> m_reports;
    OperatorReport::Reporter m_previousReporter;
    LinkTimeouts m_previousTimeouts{};
};

void TestTavroTransactions::init()
{
    m_reports.clear();
    m_previousReporter = OperatorReport::setReporter(
        [this](QMessageBox::Icon icon, const QString &text) { m_reports.append({icon, text}); });
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
    QTest::addColumn<bool>("query"); // getZoomPosition, else pelco_d_zoom_in
    QTest::addColumn<ScriptedPeer::Reply>("reply"); // empty: the board stays silent
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("lines");

    const auto row = [](const char *name, bool query, const ScriptedPeer::Reply &reply, int value,
                        const QStringList &lines) {
        QTest::newRow(name) << query << reply << value << lines;
    };
    const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    const QString ok = QStringLiteral("I Received OK response");
    const QString failed = QStringLiteral("D getZoomPosition failed");
    const QStringList value1000{ok, "D \"e8030000\"", "D position:  1000"};

    row("zoom in, 00", false, {{hex("00"), 0}}, 0, {ok});
    row("zoom in, 000102", false, {{hex("000102"), 0}}, 0, {ok});
    row("zoom in, 0100", false, {{hex("0100"), 0}}, 0,
        {"C Received unexpected response:  \"\\x01\\x00\""});
    row("zoom in, silent", false, {}, 0, {"C Timeout waiting for response"});
    row("zoom, 00e8030000", true, {{hex("00e8030000"), 0}}, 1000, value1000);
    // Bytes beyond the expected count are left unread.
    row("zoom, 00e803000077", true, {{hex("00e803000077"), 0}}, 1000, value1000);
    row("zoom, 00e803 + 0000", true, {{hex("00e803"), 0}, {hex("0000"), 100}}, 1000, value1000);
    // The extra wait ran out with part of the data: the value is incomplete.
    row("zoom, 00e803 + 00 (rest never comes)", true, {{hex("00e803"), 0}, {hex("00"), 100}}, -1,
        {ok, "C Timeout waiting for response, received 3 Bytes", failed});
    row("zoom, 00e803 (rest never comes)", true, {{hex("00e803"), 0}}, -1,
        {ok, "C Timeout waiting for response, received 2 Bytes", failed});
    row("zoom, 01e8030000", true, {{hex("01e8030000"), 0}}, -1,
        {"C Received unexpected response:  \"\\x01\"", failed});
    row("zoom, silent", true, {}, -1, {"C Timeout waiting for response for NOK/OK", failed});
}

void TestTavroTransactions::exchanges()
{
    QFETCH(bool, query);
    QFETCH(ScriptedPeer::Reply, reply);
    QFETCH(int, value);
    QFETCH(QStringList, lines);

    ScriptedPeer board(7);
    if (!reply.isEmpty())
        board.queueReply(reply);
    ControllerTavro driver(board.portName());
    const QByteArray frame = query ? "fe080000000000" : "ff000020000020";
    expectLines(lines + QStringList{"D data to transmit", "D \"" + frame + '"'});
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(operations[query](driver), value);
    if (value != -1)
        QVERIFY2(elapsed.elapsed() < Limits.extraReplyMs, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY(board.waitForFrames(1, 5000));
    QCOMPARE(board.frames(), QList<QByteArray>{QByteArray::fromHex(frame)});
    QVERIFY(m_reports.isEmpty());
}

void TestTavroTransactions::portCannotBeOpened()
{
    // A bare device name, as the system lists ports; it stands for /dev/nonexistent-tavro.
    ControllerTavro driver(QStringLiteral("nonexistent-tavro"));
    for (bool query : {false, true}) {
        m_reports.clear();
        QTest::ignoreMessage(QtCriticalMsg, "Could not open serial port:  \"nonexistent-tavro\"");
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^Reason:  ")));
        QCOMPARE(operations[query](driver), query ? -1 : 0);
        QCOMPARE(m_reports.size(), 1);
        QCOMPARE(m_reports.first().icon, QMessageBox::Critical);
        QCOMPARE(m_reports.first().text,
                 QStringLiteral("Could not open serial port: nonexistent-tavro\n"
                                "Check that the port is not used by another application."));
    }
}

QTEST_MAIN(TestTavroTransactions)
#include "tst_tavrotransactions.moc"
