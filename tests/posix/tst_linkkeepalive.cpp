// The serial waits with a keep-alive installed, as the window has it: called at
// least every slice however the reply comes, back as soon as the reply is in,
// and giving up no sooner or later than the link's time-outs say.

#include "controller_tavro.h"
#include "keepalive.h"
#include "scriptedpeer.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

namespace {
constexpr LinkTimeouts Limits{500, 400, 300};
}

Q_DECLARE_METATYPE(ScriptedPeer::Reply)

class TestLinkKeepAlive : public QObject
{
    Q_OBJECT

    LinkTimeouts m_previousTimeouts{};

private slots:
    void init()
    {
        m_previousTimeouts = ControllerTavro::timeouts();
        ControllerTavro::setTimeouts(Limits);
    }
    void cleanup()
    {
        ControllerTavro::setTimeouts(m_previousTimeouts);
        KeepAlive::setFunction(nullptr);
    }

    void query_data()
    {
        QTest::addColumn<ScriptedPeer::Reply>("reply");
        QTest::addColumn<int>("keepAliveMs"); // how long the keep-alive takes before it runs the event loop
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        const QByteArray reply = QByteArray::fromHex("00e8030000");
        QTest::newRow("silent board") << ScriptedPeer::Reply{} << 0 << -1 << Limits.replyMs << Limits.replyMs + 80;
        QTest::newRow("late reply") << ScriptedPeer::Reply{{reply, 230}} << 0 << 1000 << 230 << 330;
        // The reply arrives while the keep-alive runs, and the port takes it in from the event loop.
        QTest::newRow("reply during the keep-alive") << ScriptedPeer::Reply{{reply, 70}} << 60 << 1000 << 70 << 250;
        // No slice ever runs out while the bytes trickle in.
        QTest::newRow("one byte every 40 ms") << ScriptedPeer::pieces(reply, 40, 40) << 0 << 1000 << 160 << 350;
    }
    void query()
    {
        QFETCH(ScriptedPeer::Reply, reply);
        QFETCH(int, keepAliveMs);
        QFETCH(int, value);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        ScriptedPeer board(7);
        if (!reply.isEmpty())
            board.queueReply(reply);
        ControllerTavro driver(board.portName());
        QElapsedTimer clock;
        QList<qint64> calls{0};
        KeepAlive::setFunction([&](KeepAlive::Reason reason, qint64 remainingMs) {
            QCOMPARE(reason, KeepAlive::Reason::Board);
            QVERIFY(remainingMs >= 0 && remainingMs <= Limits.writeMs);
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
};

QTEST_GUILESS_MAIN(TestLinkKeepAlive)
#include "tst_linkkeepalive.moc"
