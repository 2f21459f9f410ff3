// A port that another program holds: the exchange waits for it a while, then
// reports who holds it. The other program is this test run again, which holds
// the port open through QSerialPort, lock file and all, or reads the board
// through a driver of its own.

#include "boardsimulator.h"
#include "controller_tavro.h"
#include "controller_usm.h"
#include "operatorreport.h"
#include "pellanboard.h"
#include "tavroboard.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QStandardPaths>
#include <QtTest>

#include <functional>
#include <memory>
#include <poll.h>
#include <unistd.h>

namespace {

// Shortened as every time-out in the tests; the real wait is 500 ms.
constexpr LinkTimeouts kLimits{2000, 1000, 500, 300};
// Two programs taking turns wait for one exchange of the other at a time.
constexpr LinkTimeouts kTurnLimits{2000, 1000, 500, 100};

// One exchange with a simulated board at rest, and what it gives when it
// goes through.
struct Exchange
{
    bool pellan;
    QByteArray frame;
    int value;
    std::function<int(const QString &port)> run;
};

const QMap<QString, Exchange> exchanges{
    {"tavro query",
     {false, QByteArray::fromHex("fe080000000000"), 3675,
      [](const QString &port) { return ControllerTavro(port).getZoomPosition(); }}},
    {"tavro command",
     {false, QByteArray::fromHex("ff000020000020"), 0,
      [](const QString &port) { return ControllerTavro(port).pelco_d_zoom_in(), 0; }}},
    {"pellan query",
     {true, QByteArray::fromHex("01650000000000000000000000002665"), 2000,
      [](const QString &port) { return ControllerUSM(port).getFocusPosition(); }}},
    {"pellan command",
     {true, QByteArray::fromHex("01640100000051000000000000001dd7"), 0,
      [](const QString &port) { return ControllerUSM(port).pelco_d_focus_stop(), 0; }}},
};

// Reads the Tavro zoom position again and again for ms; the number of reads
// that failed.
int readForAWhile(const QString &port, int ms)
{
    ControllerTavro::setTimeouts(kTurnLimits);
    QElapsedTimer elapsed;
    elapsed.start();
    int failures = 0;
    while (!elapsed.hasExpired(ms))
        failures += ControllerTavro(port).getZoomPosition() < 0 ? 1 : 0;
    return failures;
}

// This test run again as another program: --hold PORT MS opens the port, says
// so and keeps it for MS or until its input ends; --read PORT MS reads positions for MS and prints
// how many reads failed.
int otherProgram(const char *mode, const QString &port, int ms)
{
    if (qstrcmp(mode, "--read") == 0) {
        std::printf("%d failures\n", readForAWhile(port, ms));
        return 0;
    }
    QSerialPort serialPort(port);
    if (!serialPort.open(QIODevice::ReadWrite))
        return 1;
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    // Until the time is up or the test closes standard input.
    pollfd input{STDIN_FILENO, POLLIN, 0};
    ::poll(&input, 1, ms);
    return 0;
}

} // namespace

class TestBusyPort : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void waitsForTheHolder_data();
    void waitsForTheHolder();
    void lockBeingTakenIsBusy();
    void twoProgramsTakeTurns();

private:
    void startBoard(bool pellan);

    std::unique_ptr<BoardSimulator> m_sim;
};

void TestBusyPort::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    ControllerTavro::setTimeouts(kLimits);
    ControllerUSM::setTimeouts(kLimits);
}

void TestBusyPort::waitsForTheHolder_data()
{
    QTest::addColumn<QString>("exchange");
    QTest::addColumn<int>("holdMs");

    QTest::newRow("tavro query, held 50 ms") << "tavro query" << 50;
    QTest::newRow("pellan command, held 50 ms") << "pellan command" << 50;
    QTest::newRow("tavro command, held 2 s") << "tavro command" << 2000;
    QTest::newRow("pellan query, held 2 s") << "pellan query" << 2000;
}

// Held briefly, the port is waited for and the exchange goes through; held
// long, the exchange gives up after the wait, sends nothing, and the report's
// details name the holder instead of the reason for a permission error.
void TestBusyPort::waitsForTheHolder()
{
    QFETCH(QString, exchange);
    QFETCH(int, holdMs);
    const Exchange &ex = exchanges[exchange];
    const bool waitedFor = holdMs < kLimits.portBusyMs;

    startBoard(ex.pellan);
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--hold"), m_sim->portName(), QString::number(holdMs)});
    QVERIFY(holder.waitForReadyRead(5000));
    QCOMPARE(holder.readAllStandardOutput(), QByteArray("held\n"));
    const qint64 holderPid = holder.processId();

    QStringList reports;
    const OperatorReport::Reporter previous = OperatorReport::setReporter(
        [&reports](QMessageBox::Icon, const QString &text, const QString &detail) { reports << text << detail; });
    if (!waitedFor) {
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^Could not open serial port: ")));
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^Reason: ")));
    }
    QElapsedTimer elapsed;
    elapsed.start();
    const int value = ex.run(m_sim->portName());
    const qint64 ms = elapsed.elapsed();
    OperatorReport::setReporter(previous);
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(5000));

    if (waitedFor) {
        QCOMPARE(value, ex.value);
        QCOMPARE(reports, QStringList());
        QVERIFY(m_sim->waitForFrames(1, 2000));
        QCOMPARE(m_sim->frames(), QList<QByteArray>{ex.frame});
        return;
    }
    QVERIFY2(ms >= kLimits.portBusyMs && ms < holdMs - 500, qPrintable(QString::number(ms)));
    QCOMPARE(value, ex.value == 0 ? 0 : -1);
    QCOMPARE(reports,
             QStringList({"Could not open serial port: " + m_sim->portName()
                              + "\nCheck that the port is not used by another application.",
                          QStringLiteral("In use by another program: tst_busyport, process ID %1")
                              .arg(holderPid)}));
    QCOMPARE(m_sim->frames(), QList<QByteArray>());
}

// A program taking the lock has made its file and not yet written its name
// into it; the file of a pseudo-terminal /dev/pts/N is /var/lock/LCK..pts_N.
void TestBusyPort::lockBeingTakenIsBusy()
{
    startBoard(false);
    QFile lock(QStringLiteral("/var/lock/LCK..") + m_sim->portName().mid(5).replace(u'/', u'_'));
    QVERIFY2(lock.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(lock.fileName()));
    QStringList details;
    const OperatorReport::Reporter previous = OperatorReport::setReporter(
        [&details](QMessageBox::Icon, const QString &, const QString &detail) { details << detail; });
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^Could not open serial port: ")));
    QTest::ignoreMessage(QtCriticalMsg, "Reason:  \"In use by another program\"");
    const int value = ControllerTavro(m_sim->portName()).getZoomPosition();
    OperatorReport::setReporter(previous);
    lock.remove();

    QCOMPARE(value, -1);
    QCOMPARE(details, QStringList{"In use by another program"});
}

// Two programs reading one board back to back: each waits its turn, and no
// read fails.
void TestBusyPort::twoProgramsTakeTurns()
{
    startBoard(false);
    QProcess other;
    other.setStandardErrorFile(QProcess::nullDevice());
    other.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read"), m_sim->portName(), "1500"});
    QVERIFY(other.waitForStarted());
    const int failures = readForAWhile(m_sim->portName(), 1500);
    ControllerTavro::setTimeouts(kLimits);
    QVERIFY(other.waitForFinished(5000));

    QCOMPARE(failures, 0);
    QCOMPARE(other.readAllStandardOutput(), QByteArray("0 failures\n"));
}

void TestBusyPort::startBoard(bool pellan)
{
    if (pellan)
        m_sim = std::make_unique<BoardSimulator>(std::make_unique<PellanBoard>());
    else
        m_sim = std::make_unique<BoardSimulator>(std::make_unique<TavroBoard>());
    QVERIFY2(m_sim->isOpen(), qPrintable(m_sim->errorString()));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Reports are counted as failed reads.
    OperatorReport::setReporter(OperatorReport::BriefReporter([](QMessageBox::Icon, const QString &) {}));
    if (argc == 4 && (qstrcmp(argv[1], "--hold") == 0 || qstrcmp(argv[1], "--read") == 0))
        return otherProgram(argv[1], QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    TestBusyPort test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_busyport.moc"
