// Save against a Tavro board that never answers, with the real driver on a
// pseudo-terminal: the window keeps handling its events all the while and
// says what it waits for once the operation has run a second.

#include "controller_tavro.h"
#include "controller_usm.h"
#include "lenswindow.h"
#include "operatorreport.h"
#include "scriptedpeer.h"
#include "startconfig.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {
// Long enough for the progress dialog, short enough for a quick test.
constexpr LinkTimeouts Limits{500, 1300, 100};
}

class TestWindowSilentBoard : public QObject
{
    Q_OBJECT

private slots:
    void saveKeepsTheWindowAlive()
    {
        QTemporaryDir folder;
        QVERIFY(QDir::setCurrent(folder.path()));
        ScriptedPeer board(7);
        prepareStart(BoardType::Tavro, board.portName());
        const LinkTimeouts previousTimeouts = ControllerTavro::timeouts();
        const LinkTimeouts previousPellanTimeouts = ControllerUSM::timeouts();
        ControllerTavro::setTimeouts(Limits);
        ControllerUSM::setTimeouts(Limits);
        QStringList reports;
        const OperatorReport::Reporter previousReporter =
            OperatorReport::setReporter([&](OperatorReport::Severity, const QString &text) { reports << text; });

        LensWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QElapsedTimer clock;
        QList<qint64> ticks;
        QString dialogSaid;
        QTimer timer;
        timer.setInterval(50);
        connect(&timer, &QTimer::timeout, [&] {
            ticks << clock.elapsed();
            auto *dialog = window.findChild<QDialog *>("operationProgress");
            if (dialog && dialog->isVisible())
                dialogSaid = dialog->findChild<QLabel *>("lbl_operationStep")->text() + " / "
                    + dialog->findChild<QLabel *>("lbl_operationDetail")->text();
        });
        timer.start();
        clock.start();
        QTest::ignoreMessage(QtCriticalMsg, "Timeout waiting for response for NOK/OK");
        QTest::mouseClick(window.findChild<QPushButton *>("pb_settingsMultiButton"), Qt::LeftButton);
        // The click returns at once; the board is asked on a thread of its own.
        QVERIFY(clock.elapsed() < 150);
        QTRY_VERIFY_WITH_TIMEOUT(window.isIdle(), 10000);
        const qint64 took = clock.elapsed();

        ControllerTavro::setTimeouts(previousTimeouts);
        ControllerUSM::setTimeouts(previousPellanTimeouts);
        OperatorReport::setReporter(previousReporter);
        QCOMPARE(reports, QStringList{"No lens controller board detected on this serial port!"});
        // The lens-type query, then once the Pellan board's status query (in whole pieces of seven bytes).
        QCOMPARE(board.frames().join().toHex(), "fe100000000000" "0165000000000000000000000000");
        QVERIFY2(took >= Limits.replyMs, qPrintable(QString::number(took)));
        ticks.prepend(0);
        ticks << took;
        for (int i = 1; i < ticks.size(); ++i)
            QVERIFY2(ticks[i] - ticks[i - 1] <= 150, qPrintable(QStringLiteral("no event from %1 ms to %2 ms").arg(ticks[i - 1]).arg(ticks[i])));
        QCOMPARE(dialogSaid, "Checking the board… / Waiting for the board to answer…");
    }
};

QTEST_MAIN(TestWindowSilentBoard)
#include "tst_windowsilentboard.moc"
