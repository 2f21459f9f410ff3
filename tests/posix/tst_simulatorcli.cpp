// lens-board-sim as a child process: the device on its first line, the link,
// clean ends on SIGTERM and SIGINT, and refusal of bad arguments.

#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QString simulatorPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/lens-board-sim");
}

// Starts the simulator and reads the device path from its first line.
QString start(QProcess &process, const QStringList &arguments)
{
    process.start(simulatorPath(), arguments);
    if (!process.waitForStarted(5000))
        return {};
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(5000))
            return {};
    }
    return QString::fromLocal8Bit(process.readLine()).trimmed();
}

bool stop(QProcess &process, int signal)
{
    ::kill(pid_t(process.processId()), signal);
    return process.waitForFinished(5000);
}

QByteArray exchange(const QString &device, qint32 baudRate, const QByteArray &frame, int replyLength)
{
    QSerialPort port(device);
    if (!port.open(QIODevice::ReadWrite))
        return "not opened";
    port.setBaudRate(baudRate);
    port.clear();
    port.write(frame);
    if (!port.waitForBytesWritten(2000))
        return "not written";
    QByteArray reply;
    while (reply.size() < replyLength && port.waitForReadyRead(2000))
        reply += port.readAll();
    return reply;
}

} // namespace

class TestSimulatorCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void servesTavroOnItsLinkAndEndsCleanly();
    void servesPellanAndEndsOnInterrupt();
    void replacesAnOldLink();
    void keepsStoredSettingsInItsStateFile();
    void appliesFaultFromTheCommandLine();
    void refusesBadArguments_data();
    void refusesBadArguments();

private:
    QTemporaryDir m_dir;
};

void TestSimulatorCli::initTestCase()
{
    QVERIFY2(QFileInfo(simulatorPath()).isExecutable(), qPrintable(simulatorPath()));
    QVERIFY(m_dir.isValid());
}

void TestSimulatorCli::servesTavroOnItsLinkAndEndsCleanly()
{
    const QString link = m_dir.filePath(QStringLiteral("ttyTAVRO"));
    QProcess process;
    const QString device = start(process, {"--board", "tavro", "--link", link});
    QVERIFY(device.startsWith(QLatin1String("/dev/")));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);

    QCOMPARE(exchange(device, 19200, hex("fe080000000000"), 5).toHex(), QByteArray("005b0e0000"));
    // Through the link as well, the way the program finds it.
    QCOMPARE(exchange(link, 19200, hex("fe100000000000"), 2).toHex(), QByteArray("0001"));

    QVERIFY(stop(process, SIGTERM));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
}

void TestSimulatorCli::servesPellanAndEndsOnInterrupt()
{
    QProcess process;
    const QString device = start(process, {"--board", "pellan"});
    QVERIFY(!device.isEmpty());
    const QByteArray status = exchange(device, 115200, hex("01650000000000000000000000002665"), 16);
    QCOMPARE(status.size(), 16);
    QCOMPARE(status.left(2).toHex(), QByteArray("0165"));
    QVERIFY(stop(process, SIGINT));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void TestSimulatorCli::replacesAnOldLink()
{
    const QString link = m_dir.filePath(QStringLiteral("ttyOLD"));
    QVERIFY(QFile::link(QStringLiteral("/nonexistent/pts/99"), link));
    QProcess process;
    const QString device = start(process, {"--link", link, "--board", "tavro"});
    QVERIFY(!device.isEmpty());
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);
    QVERIFY(stop(process, SIGTERM));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestSimulatorCli::keepsStoredSettingsInItsStateFile()
{
    const QString state = m_dir.filePath(QStringLiteral("tavro-board.ini"));
    {
        QProcess process;
        const QString device = start(process, {"--board", "tavro", "--state", state});
        QCOMPARE(exchange(device, 19200, hex("fe070000000303"), 1).toHex(), QByteArray("00"));
        QCOMPARE(exchange(device, 19200, hex("fe110000000000"), 1).toHex(), QByteArray("00"));
        QVERIFY(stop(process, SIGTERM));
    }
    QProcess process;
    const QString device = start(process, {"--board", "tavro", "--state", state});
    QCOMPARE(exchange(device, 19200, hex("fe100000000000"), 2).toHex(), QByteArray("0003"));
    QVERIFY(stop(process, SIGTERM));
    QCOMPARE(process.exitCode(), 0);
}

void TestSimulatorCli::appliesFaultFromTheCommandLine()
{
    QProcess process;
    const QString device = start(process, {"--board", "tavro", "--fault", "rejected"});
    QCOMPARE(exchange(device, 19200, hex("fe080000000000"), 5).toHex(), QByteArray("01"));
    QCOMPARE(exchange(device, 19200, hex("fe080000000000"), 5).toHex(), QByteArray("01"));
    QVERIFY(stop(process, SIGTERM));
    QCOMPARE(process.exitCode(), 0);
}

void TestSimulatorCli::refusesBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("--board nonsense") << QStringList{"--board", "nonsense"};
    QTest::newRow("--board without a value") << QStringList{"--board"};
    QTest::newRow("--board twice") << QStringList{"--board", "tavro", "--board", "pellan"};
    QTest::newRow("--link without --board") << QStringList{"--link", "/tmp/x"};
    QTest::newRow("--fault unknown") << QStringList{"--board", "tavro", "--fault", "melt"};
    QTest::newRow("unknown option") << QStringList{"--board", "tavro", "--baud", "9600"};
    QTest::newRow("empty --state") << QStringList{"--board", "tavro", "--state", ""};
}

void TestSimulatorCli::refusesBadArguments()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    process.start(simulatorPath(), arguments);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    QVERIFY(process.readAllStandardError().startsWith("Usage: lens-board-sim"));
}

QTEST_GUILESS_MAIN(TestSimulatorCli)
#include "tst_simulatorcli.moc"
