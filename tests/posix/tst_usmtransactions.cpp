#include "controller_usm.h"
#include "operatorreport.h"
#include "pellanframes.h"
#include "scriptedpeer.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QByteArray stopFrame = QByteArray::fromHex("0164010000005100000000000000" "1dd7");
const QByteArray statusQueryFrame = QByteArray::fromHex("0165000000000000000000000000" "2665");

QByteArray statusReply(qint32 raw)
{
    QByteArray payload(14, '\0');
    payload[0] = 0x01;
    payload[1] = 0x65;
    payload[8] = char(quint32(raw) >> 24);
    payload[9] = char(quint32(raw) >> 16);
    payload[10] = char(quint32(raw) >> 8);
    payload[11] = char(raw);
    return PellanFrames::sealed(payload);
}

struct Report
{
    QMessageBox::Icon icon;
    QString text;
};

} // namespace

// The driver's two transactions against a scripted board on a pseudo-terminal,
// through a real serial port object.
class TestUsmTransactions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void exactEchoIsAcknowledged();
    void echoWithOtherCrcIsRejected();
    void echoWithExtraBytesIsRejected();
    void frameGoesOutSealed();
    void longReplyGivesItsFirstBytes();
    void replyInTwoBurstsFails();
    void missingEchoTimesOut();
    void missingReplyTimesOut();
    void unopenablePortIsReported();

private:
    std::unique_ptr<ScriptedPeer> m_peer;
    std::unique_ptr<ControllerUSM> m_driver;
    QList<Report> m_reports;
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
    m_previousReporter = OperatorReport::setReporter([this](QMessageBox::Icon icon, const QString &text) {
        m_reports << Report{icon, text};
    });
    m_previousTimeouts = ControllerUSM::timeouts();
    m_peer = std::make_unique<ScriptedPeer>(PellanFrames::frameLength);
    m_driver = std::make_unique<ControllerUSM>(m_peer->portName());
}

void TestUsmTransactions::cleanup()
{
    m_driver.reset();
    m_peer.reset();
    ControllerUSM::setTimeouts(m_previousTimeouts);
    OperatorReport::setReporter(m_previousReporter);
}

void TestUsmTransactions::exactEchoIsAcknowledged()
{
    m_peer->queueReply(stopFrame);
    QTest::ignoreMessage(QtDebugMsg, "data to transmit");
    QTest::ignoreMessage(QtDebugMsg, "\"0164010000005100000000000000" "1dd7\"");
    QTest::ignoreMessage(QtInfoMsg, "Received OK response");
    m_driver->pelco_d_focus_stop();

    QCOMPARE(m_peer->frames(), QList<QByteArray>({stopFrame}));
    QVERIFY(m_reports.isEmpty());
}

void TestUsmTransactions::echoWithOtherCrcIsRejected()
{
    QByteArray echo = stopFrame;
    echo[15] = char(echo[15] ^ 0x01);
    m_peer->queueReply(echo);
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^Received unexpected response:  \""));
    m_driver->pelco_d_focus_stop();
    QVERIFY(m_reports.isEmpty());
}

void TestUsmTransactions::echoWithExtraBytesIsRejected()
{
    m_peer->queueReply(stopFrame + QByteArray::fromHex("0102"));
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^Received unexpected response:  \""));
    m_driver->pelco_d_focus_stop();
}

void TestUsmTransactions::frameGoesOutSealed()
{
    const QByteArray move = QByteArray::fromHex("01640100000051000003e8000000" "6c77");
    m_peer->queueReply(statusReply(0));
    m_peer->queueReply(move);
    QTest::ignoreMessage(QtInfoMsg, "Received OK response");
    m_driver->setFocusPosition(100);

    QCOMPARE(m_peer->frames(), QList<QByteArray>({statusQueryFrame, move}));
}

void TestUsmTransactions::longReplyGivesItsFirstBytes()
{
    m_peer->queueReply(statusReply(1005) + QByteArray::fromHex("7fffffff"));
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QLatin1Char('"') + statusReply(1005).toHex() + QLatin1Char('"')));
    QCOMPARE(m_driver->getFocusPosition(), 100);
}

void TestUsmTransactions::replyInTwoBurstsFails()
{
    const QByteArray reply = statusReply(1005);
    m_peer->queueReply(ScriptedPeer::Reply{{reply.left(10), 0}, {reply.mid(10), 300}});
    QTest::ignoreMessage(QtCriticalMsg, "Timeout waiting for response, received 10 Bytes");
    QCOMPARE(m_driver->getFocusPosition(), -1);
}

void TestUsmTransactions::missingEchoTimesOut()
{
    ControllerUSM::setTimeouts({5000, 200, 0});
    QTest::ignoreMessage(QtCriticalMsg, "Timeout waiting for response");
    m_driver->pelco_d_focus_stop();
    QCOMPARE(m_peer->frames(), QList<QByteArray>({stopFrame}));
    QVERIFY(m_reports.isEmpty());
}

void TestUsmTransactions::missingReplyTimesOut()
{
    ControllerUSM::setTimeouts({5000, 200, 0});
    QTest::ignoreMessage(QtCriticalMsg, "Timeout waiting for response for NOK/OK");
    QCOMPARE(m_driver->getLensType(), -1);
    QVERIFY(m_reports.isEmpty());
}

void TestUsmTransactions::unopenablePortIsReported()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString port = dir.filePath(QStringLiteral("ttyGONE"));
    ControllerUSM driver(port);
    const QString text = QStringLiteral("Could not open serial port: ") + port
        + QStringLiteral("\nCheck that the port is not used by another application.");
    const QByteArray logLine = "Could not open serial port:  \"" + port.toUtf8() + '"';

    // A command, then a query: each opens the port anew and reports once.
    for (int i = 0; i < 2; ++i) {
        QTest::ignoreMessage(QtCriticalMsg, logLine.constData());
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^Reason: "));
    }
    driver.pelco_d_focus_stop();
    QCOMPARE(driver.getFocusPosition(), -1);

    QCOMPARE(m_reports.size(), 2);
    for (const Report &report : std::as_const(m_reports)) {
        QCOMPARE(report.icon, QMessageBox::Critical);
        QCOMPARE(report.text, text);
    }
}

QTEST_MAIN(TestUsmTransactions)

#include "tst_usmtransactions.moc"
