// The Pellan driver's two transactions against a scripted board on a
// pseudo-terminal, through a real serial port object.

#include "controller_usm.h"
#include "exchangelog.h"
#include "operatorreport.h"
#include "pellanframes.h"
#include "scriptedpeer.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray stopFrame = QByteArray::fromHex("0164010000005100000000000000" "1dd7");
// Status reply at raw position 1005.
const QByteArray status1005 = QByteArray::fromHex("0165000000000000000003ed0000" "b614");

} // namespace

Q_DECLARE_METATYPE(ScriptedPeer::Reply)

class TestUsmTransactions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void exchanges_data();
    void exchanges();
    void unopenablePortIsReported();

private:
    QStringList m_reports;
    OperatorReport::Reporter m_previousReporter;
    LinkTimeouts m_previousTimeouts{};
};

void TestUsmTransactions::initTestCase()
{
    // The driver reads the preset store; keep the operator's own out of reach.
    QStandardPaths::setTestModeEnabled(true);
}

void TestUsmTransactions::init()
{
    m_reports.clear();
    m_previousReporter = OperatorReport::setReporter([this](QMessageBox::Icon icon, const QString &text,
                                                            const QString &detail) {
        m_reports << (icon == QMessageBox::Critical ? text : QStringLiteral("not critical: ") + text) + " / " + detail;
    });
    m_previousTimeouts = ControllerUSM::timeouts();
    ControllerUSM::setTimeouts({5000, 500, 0});
}

void TestUsmTransactions::cleanup()
{
    ControllerUSM::setTimeouts(m_previousTimeouts);
    OperatorReport::setReporter(m_previousReporter);
}

void TestUsmTransactions::exchanges_data()
{
    QTest::addColumn<bool>("query"); // a status query, else a stop
    QTest::addColumn<ScriptedPeer::Reply>("reply"); // empty: the board stays silent
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("line"); // I(nfo), D(ebug) or C(ritical), then a pattern

    QByteArray otherCrc = stopFrame;
    otherCrc[15] = char(otherCrc[15] ^ 0x01);
    const QString unexpected = QStringLiteral("C ^Received unexpected response:  \"");
    const auto row = [](const char *name, bool query, const ScriptedPeer::Reply &reply, int value,
                        const QString &line) {
        QTest::newRow(name) << query << reply << value << line;
    };
    row("stop, exact echo", false, {{stopFrame, 0}}, 0, "I ^Received OK response$");
    row("stop, echo with other CRC", false, {{otherCrc, 0}}, 0, unexpected);
    row("stop, echo + 0102", false, {{stopFrame + QByteArray::fromHex("0102"), 0}}, 0, unexpected);
    row("stop, silent", false, {}, 0, "C ^Timeout waiting for response$");
    row("status, 20 bytes", true, {{status1005 + QByteArray::fromHex("7fffffff"), 0}}, 100,
        "D ^\"" + status1005.toHex() + "\"$");
    // A reply, echo included, may come in any number of pieces within the reply time-out.
    row("status, 10 bytes + 6", true, {{status1005.left(10), 0}, {status1005.mid(10), 300}}, 100,
        "D ^\"" + status1005.toHex() + "\"$");
    row("status, 10 bytes + 6 too late", true, {{status1005.left(10), 0}, {status1005.mid(10), 700}}, -1,
        "C ^Timeout waiting for response, received 10 Bytes$");
    row("status, 1-byte pieces", true, ScriptedPeer::pieces(status1005, 1, 1), 100, "D ^\"" + status1005.toHex() + "\"$");
    row("status, 1-byte pieces, last too late", true, ScriptedPeer::pieces(status1005, 1, 700), -1,
        "C ^Timeout waiting for response, received 15 Bytes$");
    row("stop, echo in 1-byte pieces", false, ScriptedPeer::pieces(stopFrame, 1, 1), 0, "I ^Received OK response$");
    row("stop, echo, last piece too late", false, ScriptedPeer::pieces(stopFrame, 1, 700), 0, unexpected);
    row("status, silent", true, {}, -1, "C ^Timeout waiting for response for NOK/OK$");
}

void TestUsmTransactions::exchanges()
{
    QFETCH(bool, query);
    QFETCH(ScriptedPeer::Reply, reply);
    QFETCH(int, value);
    QFETCH(QString, line);

    ScriptedPeer board(PellanFrames::frameLength);
    if (!reply.isEmpty())
        board.queueReply(reply);
    ControllerUSM driver(board.portName());
    const QByteArray frame = query ? QByteArray::fromHex("0165000000000000000000000000" "2665") : stopFrame;
    QTest::ignoreMessage(QtDebugMsg, "data to transmit");
    QTest::ignoreMessage(QtDebugMsg, "\"" + frame.toHex() + '"');
    const QtMsgType type = line[0] == u'I' ? QtInfoMsg : line[0] == u'D' ? QtDebugMsg : QtCriticalMsg;
    QTest::ignoreMessage(type, QRegularExpression(line.mid(2)));
    QList<ExchangeRecord> records;
    const ExchangeLog::Subscription listening([&records](const ExchangeRecord &record) { records << record; });
    QCOMPARE(query ? driver.getFocusPosition() : (driver.pelco_d_focus_stop(), 0), value);
    QVERIFY(board.waitForFrames(1, 5000));
    QCOMPARE(board.frames(), QList<QByteArray>({frame}));
    QCOMPARE(board.lineSettings(), QStringList{"115200 8N1, no flow control"});
    QVERIFY(m_reports.isEmpty());

    // The record holds what came within the exchange, every piece of it.
    QByteArray sent;
    for (const ScriptedPeer::Burst &burst : reply)
        sent += burst.bytes;
    const ExchangeRecord::Outcome outcome = line.contains("received") ? ExchangeRecord::Outcome::IncompleteReply
        : line.contains("unexpected")                                 ? ExchangeRecord::Outcome::Rejected
        : line.contains("Timeout")                                    ? ExchangeRecord::Outcome::NoReply
                                                                      : ExchangeRecord::Outcome::Ok;
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.first().frame.toHex(), frame.toHex());
    QCOMPARE(records.first().board, ExchangeRecord::Board::Pellan);
    QCOMPARE(records.first().outcome, outcome);
    QVERIFY(sent.startsWith(records.first().reply));
    if (!QByteArray(QTest::currentDataTag()).contains("too late"))
        QCOMPARE(records.first().reply.toHex(), sent.toHex());
}

void TestUsmTransactions::unopenablePortIsReported()
{
    QTemporaryDir dir;
    const QString port = dir.filePath(QStringLiteral("ttyGONE"));
    ControllerUSM driver(port);
    const QByteArray logLine = "Could not open serial port:  \"" + port.toUtf8() + '"';
    // A command, then a query: each opens the port anew and reports once.
    for (int i = 0; i < 2; ++i) {
        QTest::ignoreMessage(QtCriticalMsg, logLine.constData());
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^Reason: "));
    }
    driver.pelco_d_focus_stop();
    QCOMPARE(driver.getFocusPosition(), -1);
    const QString text = "Could not open serial port: " + port
        + "\nCheck that the port is not used by another application. / No such file or directory";
    QCOMPARE(m_reports, QStringList({text, text}));
}

QTEST_MAIN(TestUsmTransactions)
#include "tst_usmtransactions.moc"
