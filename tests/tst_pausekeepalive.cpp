// The fixed pauses: exact in length whatever the keep-alive does between their slices.

#include "keepalive.h"
#include "pause.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

class TestPauseKeepAlive : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        KeepAlive::setFunction(nullptr);
    }

    void realPause_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("keepAliveMs"); // how long each keep-alive call takes
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("shorter than a slice") << 30 << 0;
        QTest::newRow("several slices") << 260 << 0;
        QTest::newRow("slow keep-alive") << 260 << 30;
    }
    // The keep-alive hears the whole length first, then the time left at most a
    // slice apart, then 0; the pause ends on time.
    void realPause()
    {
        QFETCH(int, ms);
        QFETCH(int, keepAliveMs);
        QElapsedTimer clock;
        QList<qint64> heard, at;
        KeepAlive::setFunction([&](KeepAlive::Reason reason, qint64 remainingMs) {
            QCOMPARE(reason, KeepAlive::Reason::Pause);
            heard << remainingMs;
            at << clock.elapsed();
            QThread::msleep(keepAliveMs);
        });
        clock.start();
        Pause::wait(ms);
        // From the end of the call that announced the pause to the one that ended it; a keep-alive
        // call near the end may overrun it by its own length, never more.
        const qint64 took = at.last() - at.first() - keepAliveMs;
        QVERIFY2(took >= ms && took <= ms + keepAliveMs + 15, qPrintable(QString::number(took)));
        QCOMPARE(heard.first(), ms);
        QCOMPARE(heard.last(), 0);
        for (int i = 1; i < heard.size(); ++i) {
            QVERIFY(heard[i] <= heard[i - 1]);
            QVERIFY2(at[i] - at[i - 1] <= KeepAlive::sliceMs + keepAliveMs + 25, qPrintable(QString::number(i)));
        }
    }
};

QTEST_GUILESS_MAIN(TestPauseKeepAlive)
#include "tst_pausekeepalive.moc"
