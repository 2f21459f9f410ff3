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

constexpr int FrameLength = 7;
// Short enough for the unanswered cases, still in the real order of waits.
constexpr LinkTimeouts Quick{1000, 300, 300};

struct Report
{
    QMessageBox::Icon icon;
    QString text;
};

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

using Operation = std::function<int(Controller &)>;

} // namespace

Q_DECLARE_METATYPE(ScriptedPeer::Reply)
Q_DECLARE_METATYPE(Operation)

class TestTavroTransactions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandAcknowledged_data();
    void commandAcknowledged();
    void commandRejected_data();
    void commandRejected();
    void commandUnanswered();
    void driverLifetimeSendsNothing();

    void queryAnswered_data();
    void queryAnswered();
    void queryDataNeverCompleted();
    void queryRejected();
    void queryUnanswered();
    void lensTypeOverTheWire_data();
    void lensTypeOverTheWire();

    void portCannotBeOpened_data();
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
}

void TestTavroTransactions::cleanup()
{
    OperatorReport::setReporter(m_previousReporter);
    ControllerTavro::setTimeouts(m_previousTimeouts);
}

void TestTavroTransactions::commandAcknowledged_data()
{
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("00") << hex("00");
    QTest::newRow("000102") << hex("000102");
    QTest::newRow("0000000000") << hex("0000000000");
}

void TestTavroTransactions::commandAcknowledged()
{
    QFETCH(QByteArray, reply);

    ScriptedPeer board(FrameLength);
    board.queueReply(reply);
    ControllerTavro driver(board.portName());

    QTest::ignoreMessage(QtDebugMsg, "data to transmit");
    QTest::ignoreMessage(QtDebugMsg, "\"ff000020000020\"");
    QTest::ignoreMessage(QtInfoMsg, "Received OK response");
    driver.pelco_d_zoom_in();

    QCOMPARE(board.frames(), QList<QByteArray>{hex("ff000020000020")});
    QVERIFY(m_reports.isEmpty());
}

void TestTavroTransactions::commandRejected_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("line");

    QTest::newRow("01") << hex("01") << QStringLiteral("Received unexpected response:  \"\\x01\"");
    QTest::newRow("0100") << hex("0100")
                          << QStringLiteral("Received unexpected response:  \"\\x01\\x00\"");
    QTest::newRow("ff") << hex("ff") << QStringLiteral("Received unexpected response:  \"\\xFF\"");
}

void TestTavroTransactions::commandRejected()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, line);

    ScriptedPeer board(FrameLength);
    board.queueReply(reply);
    ControllerTavro driver(board.portName());

    QTest::ignoreMessage(QtCriticalMsg, line.toLatin1().constData());
    driver.storeInDevice();

    QCOMPARE(board.frames(), QList<QByteArray>{hex("fe110000000000")});
    QVERIFY(m_reports.isEmpty());
}

void TestTavroTransactions::commandUnanswered()
{
    ControllerTavro::setTimeouts(Quick);
    ScriptedPeer board(FrameLength);
    ControllerTavro driver(board.portName());

    QTest::ignoreMessage(QtCriticalMsg, "Timeout waiting for response");
    driver.setZoomPosition(1000);

    QVERIFY(board.waitForFrames(1, 5000));
    QCOMPARE(board.frames(), QList<QByteArray>{hex("fe04000003e800")});
    QVERIFY(m_reports.isEmpty());
}

void TestTavroTransactions::driverLifetimeSendsNothing()
{
    ScriptedPeer board(FrameLength);
    {
        const ControllerTavro unused(board.portName());
        QCOMPARE(unused.portName(), board.portName());
    }
    board.queueReply(hex("00"));
    ControllerTavro driver(board.portName());
    QTest::ignoreMessage(QtInfoMsg, "Received OK response");
    driver.initMotor();

    // Had the first driver sent anything, its frame would come first.
    QCOMPARE(board.frames(), QList<QByteArray>{hex("fe010000000000")});
}

void TestTavroTransactions::queryAnswered_data()
{
    QTest::addColumn<ScriptedPeer::Reply>("reply");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("dataLine");
    QTest::addColumn<QString>("resultLine");

    QTest::newRow("00e8030000")
        << ScriptedPeer::Reply{{hex("00e8030000"), 0}} << 1000 << QStringLiteral("\"e8030000\"")
        << QStringLiteral("position:  1000");
    // Bytes beyond the expected count are left unread.
    QTest::newRow("00e803000077")
        << ScriptedPeer::Reply{{hex("00e803000077"), 0}} << 1000
        << QStringLiteral("\"e8030000\"") << QStringLiteral("position:  1000");
    QTest::newRow("00e803 + 0000")
        << ScriptedPeer::Reply{{hex("00e803"), 0}, {hex("0000"), 100}} << 1000
        << QStringLiteral("\"e8030000\"") << QStringLiteral("position:  1000");
    QTest::newRow("00 + e8030000")
        << ScriptedPeer::Reply{{hex("00"), 0}, {hex("e8030000"), 100}} << 1000
        << QStringLiteral("\"e8030000\"") << QStringLiteral("position:  1000");
    // The transaction succeeds with what the one extra wait brought; the query
    // then finds the value incomplete.
    QTest::newRow("00e803 + 00")
        << ScriptedPeer::Reply{{hex("00e803"), 0}, {hex("00"), 100}} << -1
        << QStringLiteral("\"e80300\"") << QStringLiteral("getZoomPosition failed");
}

void TestTavroTransactions::queryAnswered()
{
    QFETCH(ScriptedPeer::Reply, reply);
    QFETCH(int, value);
    QFETCH(QString, dataLine);
    QFETCH(QString, resultLine);

    // A long extra wait, so that waiting when all data is there shows in the
    // time taken.
    ControllerTavro::setTimeouts({5000, 3000, 3000});
    ScriptedPeer board(FrameLength);
    board.queueReply(reply);
    ControllerTavro driver(board.portName());

    QTest::ignoreMessage(QtInfoMsg, "Received OK response");
    QTest::ignoreMessage(QtDebugMsg, dataLine.toLatin1().constData());
    QTest::ignoreMessage(QtDebugMsg, resultLine.toLatin1().constData());
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(driver.getZoomPosition(), value);
    QVERIFY2(elapsed.elapsed() < 3000, qPrintable(QString::number(elapsed.elapsed())));

    QCOMPARE(board.frames(), QList<QByteArray>{hex("fe080000000000")});
}

void TestTavroTransactions::queryDataNeverCompleted()
{
    ControllerTavro::setTimeouts(Quick);
    ScriptedPeer board(FrameLength);
    board.queueReply(hex("00e803"));
    ControllerTavro driver(board.portName());

    QTest::ignoreMessage(QtInfoMsg, "Received OK response");
    QTest::ignoreMessage(QtCriticalMsg, "Timeout waiting for response, received 2 Bytes");
    QTest::ignoreMessage(QtDebugMsg, "MaxgetZoomPosition failed");
    QCOMPARE(driver.getMaxZoomPosition(), -1);

    QCOMPARE(board.frames(), QList<QByteArray>{hex("fe150000000000")});
    QVERIFY(m_reports.isEmpty());
}

void TestTavroTransactions::queryRejected()
{
    ScriptedPeer board(FrameLength);
    board.queueReply(hex("01e8030000"));
    ControllerTavro driver(board.portName());

    QTest::ignoreMessage(QtCriticalMsg, "Received unexpected response:  \"\\x01\"");
    QTest::ignoreMessage(QtDebugMsg, "getFocusPosition failed");
    QCOMPARE(driver.getFocusPosition(), -1);
    QVERIFY(m_reports.isEmpty());
}

void TestTavroTransactions::queryUnanswered()
{
    ControllerTavro::setTimeouts(Quick);
    ScriptedPeer board(FrameLength);
    ControllerTavro driver(board.portName());

    QTest::ignoreMessage(QtCriticalMsg, "Timeout waiting for response for NOK/OK");
    QTest::ignoreMessage(QtDebugMsg, "getIrisMaxPosition failed");
    QCOMPARE(driver.getMaxIrisPosition(), -1);

    QVERIFY(board.waitForFrames(1, 5000));
    QCOMPARE(board.frames(), QList<QByteArray>{hex("fe160000000000")});
    QVERIFY(m_reports.isEmpty());
}

void TestTavroTransactions::lensTypeOverTheWire_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("lensType");

    QTest::newRow("0002") << hex("0002") << 2;
    QTest::newRow("0085") << hex("0085") << -123;
    QTest::newRow("000300") << hex("000300") << 3;
    QTest::newRow("0102") << hex("0102") << -1;
}

void TestTavroTransactions::lensTypeOverTheWire()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, lensType);

    ScriptedPeer board(FrameLength);
    board.queueReply(reply);
    ControllerTavro driver(board.portName());

    QCOMPARE(driver.getLensType(), lensType);
    QCOMPARE(board.frames(), QList<QByteArray>{hex("fe100000000000")});
}

void TestTavroTransactions::portCannotBeOpened_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<int>("result");

    QTest::newRow("ff000000000020 pelco_d_zoom_stop")
        << Operation([](Controller &c) { c.pelco_d_zoom_stop(); return 0; }) << 0;
    QTest::newRow("fe100000000000 getLensType")
        << Operation([](Controller &c) { return c.getLensType(); }) << -1;
    QTest::newRow("fe0c0000000000 getSensitivityMode")
        << Operation([](Controller &c) { return c.getSensitivityMode(); }) << -1;
}

void TestTavroTransactions::portCannotBeOpened()
{
    QFETCH(Operation, operation);
    QFETCH(int, result);

    // A bare device name, as the system lists ports; it stands for
    // /dev/nonexistent-tavro.
    ControllerTavro driver(QStringLiteral("nonexistent-tavro"));

    QTest::ignoreMessage(QtCriticalMsg, "Could not open serial port:  \"nonexistent-tavro\"");
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^Reason:  ")));
    QCOMPARE(operation(driver), result);

    QCOMPARE(m_reports.size(), 1);
    QCOMPARE(m_reports.first().icon, QMessageBox::Critical);
    QCOMPARE(m_reports.first().text,
             QStringLiteral("Could not open serial port: nonexistent-tavro\n"
                            "Check that the port is not used by another application."));
}

QTEST_MAIN(TestTavroTransactions)
#include "tst_tavrotransactions.moc"
