// A port that another program holds: the exchange waits for it a while, then
// reports who holds it. The other program is this test run again, holding the
// port through QSerialPort (lock file and all) or reading through a driver.
// And the port a driver keeps open between its exchanges: what closes it.

#include "boardsimulator.h"
#include "controller_tavro.h"
#include "controller_usm.h"
#include "exchangelog.h"
#include "pause.h"
#include "pellanboard.h"
#include "portkeeper.h"
#include "pseudoterminal.h"
#include "tavroboard.h"

#include <QProcess>
#include <QSerialPort>
#include <QThread>
#include <QtTest>

#include <functional>
#include <memory>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Shortened as every time-out in the tests; the real wait is 500 ms.
constexpr LinkTimeouts kLimits{2000, 1000, 500, 300};

std::unique_ptr<BoardModel> board(bool pellan)
{
    return pellan ? std::unique_ptr<BoardModel>(std::make_unique<PellanBoard>()) : std::make_unique<TavroBoard>();
}

// Reads the Tavro zoom position (or the focus position) again and again for
// ms, at least once, with a driver of its own for each read or with one for
// all, which keeps the port open between them; how many reads failed.
int readForAWhile(const QString &port, int ms, bool focus = false, bool oneDriver = false)
{
    QElapsedTimer elapsed;
    elapsed.start();
    int failures = 0;
    std::unique_ptr<ControllerTavro> controller;
    do {
        if (!oneDriver || !controller)
            controller = std::make_unique<ControllerTavro>(port);
        failures += (focus ? controller->getFocusPosition() : controller->getZoomPosition()) < 0 ? 1 : 0;
    } while (!elapsed.hasExpired(ms));
    return failures;
}

// Whether another driver could open port now (this program's own QSerialPort
// finds it as locked as another program's would).
bool opensNow(const QString &port)
{
    QSerialPort serialPort(port);
    return serialPort.open(QIODevice::ReadWrite);
}

// --read PORT MS (--read-kept PORT MS: with one driver) prints a line as it
// starts, then how many of its focus reads failed in MS; --hold PORT MS holds the port for MS, or until standard input
// ends; --query-as-nobody PORT 0 prints how one query went (the system's
// reason, and whether access was refused), made as the user nobody if run as
// root (status 77 when it cannot be).
int otherProgram(const QByteArray &mode, const QString &port, int ms)
{
    if (mode == "--query-as-nobody") {
        const passwd *nobody = ::getpwnam("nobody");
        if (::geteuid() == 0 && (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0))
            return 77;
        ControllerTavro driver(port);
        const bool failed = driver.getZoomPosition() == -1;
        const Outcome outcome = driver.takeOutcome();
        std::puts(qPrintable(outcome.reason + (outcome.permission ? QStringLiteral(", refused") : QString())));
        return failed ? 0 : 1;
    }
    if (mode == "--read" || mode == "--read-kept") {
        std::puts("reading");
        std::fflush(stdout);
        std::printf("%d failures\n", readForAWhile(port, ms, true, mode == "--read-kept"));
        return 0;
    }
    QSerialPort serialPort(port);
    if (!serialPort.open(QIODevice::ReadWrite))
        return 1;
    std::puts("held");
    std::fflush(stdout);
    pollfd input{STDIN_FILENO, POLLIN, 0};
    return ::poll(&input, 1, ms) < 0;
}

// What ends a port kept open; false when it did not go as it should.
using KeptPortEnd = std::function<bool(std::unique_ptr<Controller> &driver, BoardSimulator &sim)>;

} // namespace

Q_DECLARE_METATYPE(KeptPortEnd)

class TestBusyPort : public QObject
{
    Q_OBJECT

private slots:
    void waitsForTheHolder_data();
    void waitsForTheHolder();
    void twoProgramsTakeTurns_data();
    void twoProgramsTakeTurns();
    void keptPortCloses_data();
    void keptPortCloses();
    void permissionDenied();
};

void TestBusyPort::waitsForTheHolder_data()
{
    QTest::addColumn<bool>("pellan");
    // 0: only a lock file, as one being taken is before it names its holder; -1: only a claim to the next
    // turn, left by a program gone; -2: another program's read, longer than the wait, its reply bytes
    // coming 100 ms apart; -3: another program's read, which the board does not answer; -4: only a claim
    // to the next turn, not renewed for seconds, under the number of a live process (init's)
    QTest::addColumn<int>("holdMs");
    QTest::addColumn<QString>("detail"); // empty when the query goes through; %1 stands for the holder

    QTest::newRow("tavro, held 50 ms") << false << 50 << "";
    QTest::newRow("pellan, held 50 ms") << true << 50 << "";
    QTest::newRow("tavro, held 2 s") << false << 2000 << "In use by another program: tst_busyport, process ID %1";
    QTest::newRow("pellan, held 2 s") << true << 2000 << "In use by another program: tst_busyport, process ID %1";
    QTest::newRow("tavro, lock being taken") << false << 0 << "In use by another program";
    QTest::newRow("tavro, turn claimed by a program gone") << false << -1 << "";
    QTest::newRow("tavro, turn claimed under a number reused") << false << -4 << "";
    QTest::newRow("tavro, read slowly") << false << -2 << "";
    QTest::newRow("tavro, read unanswered") << false << -3 << "In use by another program: tst_busyport, process ID %1";
}

// Held briefly, or by an exchange that goes on, the port is waited for and the
// query goes through; held long without exchanging, the query gives up after
// the wait, sends nothing, and the outcome names the holder instead of
// the reason for a permission error.
void TestBusyPort::waitsForTheHolder()
{
    QFETCH(bool, pellan);
    QFETCH(int, holdMs);
    QFETCH(QString, detail);

    BoardSimulator sim(board(pellan));
    const QString port = sim.portName();
    QProcess holder;
    // The lock of /dev/pts/N is /var/lock/LCK..pts_N.
    QFile lock(QStringLiteral("/var/lock/LCK..") + port.mid(5).replace(u'/', u'_') + (holdMs < 0 ? ".next" : ""));
    const bool claimOnly = holdMs == -1 || holdMs == -4;
    if (holdMs < -1 && !claimOnly) {
        if (holdMs == -2)
            sim.setLineDelivery({19200, 1, std::chrono::milliseconds(100)});
        else
            sim.setFault(SimFault::NoReply, 1);
        holder.start(QCoreApplication::applicationFilePath(), {"--read", port, "0"});
        QVERIFY(QTest::qWaitFor([&sim] { return sim.frameCount() > 0; }, 5000));
    } else if (holdMs <= 0) {
        QVERIFY2(lock.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(lock.fileName()));
        // No process has a number above 2^22.
        QVERIFY(holdMs == 0
                || (lock.write(holdMs == -1 ? "4194305\nlens-tool\nbench\n" : "1\nlens-tool\nbench\n") > 0
                    && lock.flush()));
        QVERIFY(holdMs != -4
                || lock.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
    } else {
        holder.start(QCoreApplication::applicationFilePath(), {"--hold", port, QString::number(holdMs)});
        QVERIFY(holder.waitForReadyRead(5000));
        QCOMPARE(holder.readAllStandardOutput(), QByteArray("held\n"));
    }
    QList<ExchangeRecord> records;
    const ExchangeLog::Subscription listening([&records](const ExchangeRecord &record) { records << record; });
    QElapsedTimer elapsed;
    elapsed.start();
    const std::unique_ptr<Controller> driver = pellan ? std::unique_ptr<Controller>(std::make_unique<ControllerUSM>(port))
                                                      : std::make_unique<ControllerTavro>(port);
    const int value = pellan ? driver->getFocusPosition() : driver->getZoomPosition();
    const qint64 ms = elapsed.elapsed();
    const Outcome outcome = driver->takeOutcome();
    detail.replace(QStringLiteral("%1"), QString::number(holder.processId()));
    holder.closeWriteChannel();
    holder.waitForFinished();
    lock.remove();
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.first().outcome,
             detail.isEmpty() ? ExchangeRecord::Outcome::Ok : ExchangeRecord::Outcome::PortBusy);

    if (detail.isEmpty()) {
        QCOMPARE(value, pellan ? 2000 : 3675);
        QVERIFY(outcome.ok());
        return;
    }
    QVERIFY2(ms >= kLimits.portBusyMs && ms < 1500, qPrintable(QString::number(ms)));
    QCOMPARE(value, -1);
    QCOMPARE(outcome.kind, Outcome::Kind::Busy);
    QCOMPARE(outcome.reason, detail);
    QCOMPARE(sim.frameCount(), holdMs < -1 ? 1 : 0);
}

void TestBusyPort::twoProgramsTakeTurns_data()
{
    QTest::addColumn<bool>("linkHere"); // the board named by a stable name's link, else by its device
    QTest::addColumn<bool>("linkThere");
    QTest::addColumn<bool>("oneDriver"); // each side reads through one driver, which keeps the port open
    QTest::addColumn<bool>("thread"); // the other side is a thread of this program
    QTest::newRow("both by the device") << false << false << false << false;
    QTest::newRow("here by a stable name, there by the device") << true << false << false << false;
    QTest::newRow("here by the device, there by a stable name") << false << true << false << false;
    QTest::newRow("one driver each") << false << false << true << false;
    QTest::newRow("one driver each, the other in a thread of this program") << false << false << true << true;
}

// Two programs reading one board back to back for the same time, one the zoom
// and one the focus: each waits its turn, so that no read fails and the board
// hears them in turn (one kept waiting while the other reads again would only
// now and then break in), however each names the port, however slow the
// machine, and whether their drivers keep the port open between reads or not;
// and two drivers of one program as well.
void TestBusyPort::twoProgramsTakeTurns()
{
    QFETCH(bool, linkHere);
    QFETCH(bool, linkThere);
    QFETCH(bool, oneDriver);
    QFETCH(bool, thread);
    const BoardSimulator sim(board(false));
    const QTemporaryDir dir;
    const QString link = dir.filePath("usb-Tavro_sim-if00-port0");
    QVERIFY(QFile::link(sim.portName(), link));
    const QString there = linkThere ? link : sim.portName();
    QProcess other;
    int threadFailures = -1;
    std::unique_ptr<QThread> reader(QThread::create([&] { threadFailures = readForAWhile(there, 1500, true, true); }));
    if (thread) {
        reader->start();
    } else {
        other.setStandardErrorFile(QProcess::nullDevice());
        other.start(QCoreApplication::applicationFilePath(), {oneDriver ? "--read-kept" : "--read", there, "1500"});
        QVERIFY(other.waitForReadyRead(5000));
        QCOMPARE(other.readLine(), QByteArray("reading\n"));
    }
    QCOMPARE(readForAWhile(linkHere ? link : sim.portName(), 1500, false, oneDriver), 0);
    if (thread) {
        QVERIFY(reader->wait(5000));
        QCOMPARE(threadFailures, 0);
    } else {
        QVERIFY(other.waitForFinished(5000));
        QCOMPARE(other.readAllStandardOutput(), QByteArray("0 failures\n"));
    }
    const QList<QByteArray> frames = sim.frames();
    qsizetype turns = 0;
    for (qsizetype i = 1; i < frames.size(); ++i)
        turns += frames[i] != frames[i - 1] ? 1 : 0;
    QVERIFY2(turns * 2 >= frames.size(), qPrintable(QString::number(turns) + " turns in " + QString::number(frames.size())));
}

void TestBusyPort::keptPortCloses_data()
{
    QTest::addColumn<KeptPortEnd>("end");

    QTest::newRow("idle") << KeptPortEnd([](std::unique_ptr<Controller> &, BoardSimulator &sim) {
        return QTest::qWaitFor([&sim] { return opensNow(sim.portName()); }, 5000);
    });
    QTest::newRow("driver gone") << KeptPortEnd([](std::unique_ptr<Controller> &driver, BoardSimulator &) {
        driver.reset();
        return true;
    });
    QTest::newRow("pause") << KeptPortEnd([](std::unique_ptr<Controller> &, BoardSimulator &) {
        Pause::wait(1);
        return true;
    });
    QTest::newRow("exchange failed") << KeptPortEnd([](std::unique_ptr<Controller> &driver, BoardSimulator &sim) {
        sim.setFault(SimFault::NoReply, 1);
        return driver->getFocusPosition() == -1 && !driver->takeOutcome().ok();
    });
    // As the window's look at its board beside its own session, with no
    // event loop between: the other driver is not kept waiting for this one.
    QTest::newRow("another driver on this thread") << KeptPortEnd([](std::unique_ptr<Controller> &, BoardSimulator &sim) {
        ControllerTavro other(sim.portName());
        return other.getFocusPosition() == 2000 && other.takeOutcome().ok();
    });
}

// After a read that went well the port stays open; each of these closes it.
void TestBusyPort::keptPortCloses()
{
    QFETCH(KeptPortEnd, end);
    BoardSimulator sim(board(false));
    std::unique_ptr<Controller> driver = std::make_unique<ControllerTavro>(sim.portName());
    QCOMPARE(driver->getZoomPosition(), 3675);
    QVERIFY(!opensNow(sim.portName()));
    QVERIFY(end(driver, sim));
    QVERIFY(opensNow(sim.portName()));
}

// A device the user may not open is told as refused, which earns the
// operator the reminder of the dialout group; a busy one is not
// (waitsForTheHolder). Root may open any device, so the query is made as
// another user.
void TestBusyPort::permissionDenied()
{
    const PseudoTerminal pty;
    QCOMPARE(::chmod(qPrintable(pty.slavePath()), 0), 0);
    QProcess other;
    other.setStandardErrorFile(QProcess::nullDevice());
    other.start(QCoreApplication::applicationFilePath(), {"--query-as-nobody", pty.slavePath(), "0"});
    QVERIFY(other.waitForFinished(5000));
    if (other.exitCode() == 77)
        QSKIP("Runs as root, and cannot become the user nobody");
    QCOMPARE(other.exitCode(), 0);
    const QString detail = QString::fromLocal8Bit(other.readAllStandardOutput());
    QCOMPARE(detail, "Permission denied, refused\n");
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    ControllerTavro::setTimeouts(kLimits);
    ControllerUSM::setTimeouts(kLimits);
    if (argc == 4 && QByteArray(argv[1]).startsWith("--"))
        return otherProgram(argv[1], QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    TestBusyPort test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_busyport.moc"
