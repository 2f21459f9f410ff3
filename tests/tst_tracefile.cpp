// The trace file: every log line with its time and level, rotation, and a file
// that cannot be opened or written.

#include "tracefile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <vector>

namespace {

// What reaches the handler the trace chains to; it stands for standard error.
QStringList chained;

void chainedHandler(QtMsgType, const QMessageLogContext &, const QString &message)
{
    chained << message;
}

QStringList lines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestTraceFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QtMessageHandler m_testHandler = nullptr;

    QString path() const { return m_dir.filePath("logs/trace.log"); }

private slots:
    void init()
    {
        chained.clear();
        m_testHandler = qInstallMessageHandler(chainedHandler);
        for (const char *suffix : {"", ".1", ".2", ".3"})
            QFile::remove(path() + suffix);
    }
    void cleanup() { qInstallMessageHandler(m_testHandler); }

    // A folder that cannot be made, or a disk that is full: the program logs on as before.
    void unusableFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("opens");
        QTest::newRow("parent is a file") << "plain/trace.log" << false;
        QTest::newRow("full disk") << "/dev/full" << true;
    }
    void unusableFile()
    {
        QFETCH(QString, file);
        QFETCH(bool, opens);
        if (file.startsWith("/dev/") && !QFile::exists(file))
            QSKIP("no such device here");
        QFile plain(m_dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString where = QDir(m_dir.path()).absoluteFilePath(file);
        QElapsedTimer clock;
        clock.start();
        {
            const TraceFile trace(where);
            QCOMPARE(trace.isOpen(), opens);
            for (int n = 0; n < 1000; ++n)
                qDebug("line %d", n);
        }
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        // Every line reached the previous handler, and the reason the file is missing went first.
        QVERIFY(chained.size() >= 1000);
        QCOMPARE(chained.at(chained.size() - 1000), "line 0");
        QCOMPARE(chained.first().startsWith("The trace file could not be opened"), !opens);
        QCOMPARE(chained.last(), "line 999");
    }

    // Each line's time, read back as the trace reader reads it, is the moment it was written, with the
    // local offset from UTC that a reader in another zone needs.
    void lineTimeInLocalZone_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("offset");
        QTest::newRow("UTC") << QByteArray("UTC") << "Z";
        QTest::newRow("half hour east") << QByteArray("Asia/Kolkata") << R"(\+05:30)";
        QTest::newRow("half hour west") << QByteArray("America/St_Johns") << "-0[23]:30";
    }
    void lineTimeInLocalZone()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, offset);
        const bool zoneWasSet = qEnvironmentVariableIsSet("TZ");
        const QByteArray previousZone = qgetenv("TZ");
        qputenv("TZ", zone);
        const QDateTime before = QDateTime::currentDateTimeUtc();
        {
            const TraceFile trace(path());
            qInfo("stamped");
        }
        const QDateTime after = QDateTime::currentDateTimeUtc();
        if (zoneWasSet)
            qputenv("TZ", previousZone);
        else
            qunsetenv("TZ");
        const QStringList written = lines(path());
        QCOMPARE(written.size(), 1);
        const QRegularExpression stamped(R"(^(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3})" + offset
                                         + R"() info: stamped$)");
        const QRegularExpressionMatch match = stamped.match(written.first());
        QVERIFY2(match.hasMatch(), qPrintable(written.first()));
        const QDateTime time = QDateTime::fromString(match.captured(1), Qt::ISODateWithMs);
        QVERIFY2(time >= before && time <= after, qPrintable(written.first()));
    }

    // The folder stays the same whatever names the window gives the application later;
    // TAVRO_TRACE_FILE moves the file, in the program's own start too.
    void defaultPath()
    {
        QStandardPaths::setTestModeEnabled(true);
        qunsetenv("TAVRO_TRACE_FILE");
        const QString expected = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + "/Corvane/Tavro Lens Controller/trace.log";
        QCOMPARE(TraceFile::defaultPath(), expected);
        QCoreApplication::setOrganizationName("Qelvar");
        QCoreApplication::setApplicationName("Renamed");
        QCOMPARE(TraceFile::defaultPath(), expected);
        qputenv("TAVRO_TRACE_FILE", path().toUtf8());
        QCOMPARE(TraceFile::defaultPath(), path());
        QProcess program; // killed when it goes
        program.setWorkingDirectory(m_dir.path());
        program.start(QCoreApplication::applicationDirPath() + "/tavro-lens-controller");
        qunsetenv("TAVRO_TRACE_FILE");
        QTRY_VERIFY_WITH_TIMEOUT(lines(path()).join('\n').contains("info: Trace file: \"" + path() + '"'), 15000);
    }

    // Lines from several threads at once each arrive whole while the file moves on past 1 MiB twice:
    // none larger, and every line of every thread in its order. The lines fill less than the three
    // files kept, so that none is dropped however the threads take turns (a thread that ran alone
    // first would otherwise be rotated away whole); a third rotation then drops the oldest file.
    void linesFromThreadsAcrossRotations()
    {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        const QString filler(500, 'x');
        {
            const TraceFile trace(path());
            std::vector<std::unique_ptr<QThread>> threads;
            for (int t = 0; t < 4; ++t) {
                threads.emplace_back(QThread::create([t, &filler] {
                    for (int n = 0; n < 1200; ++n)
                        qDebug("thread %d line %04d %s end", t, n, qPrintable(filler));
                }));
                threads.back()->start();
            }
            for (const auto &thread : threads)
                thread->wait();
        }
        QVERIFY(QFileInfo(path() + ".2").size() > TraceFile::defaultRotateBytes - 2000);
        QList<int> next(4, 0);
        const QRegularExpression whole(R"(debug: thread (\d) line (\d{4}) x{500} end$)");
        for (const char *suffix : {".2", ".1", ""}) {
            QVERIFY2(QFileInfo(path() + suffix).size() <= TraceFile::defaultRotateBytes, suffix);
            for (const QString &line : lines(path() + suffix)) {
                const QRegularExpressionMatch match = whole.match(line);
                QVERIFY2(match.hasMatch(), qPrintable(line.left(80)));
                int &expected = next[match.captured(1).toInt()];
                QVERIFY2(match.captured(2).toInt() == expected, qPrintable(line.left(40)));
                expected = match.captured(2).toInt() + 1;
            }
        }
        QCOMPARE(next, QList<int>(4, 1200));
        {
            // One more rotation: the oldest file goes.
            const TraceFile trace(path());
            for (int n = 0; n < 2000; ++n)
                qDebug("%s", qPrintable(filler));
        }
        QVERIFY(!QFile::exists(path() + ".3"));
        for (const char *suffix : {".2", ".1", ""})
            QVERIFY2(QFileInfo(path() + suffix).size() <= TraceFile::defaultRotateBytes, suffix);
    }

    // Threads log on while traces are made and destroyed under them: each line still reaches the
    // previous handler once, and none touches a trace that is gone (which the sanitizer build sees).
    void tracesComeAndGoUnderThreads()
    {
        static std::atomic<int> handed;
        handed = 0;
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) { ++handed; });
        std::atomic<int> logged{0};
        std::atomic<bool> stop{false};
        std::vector<std::unique_ptr<QThread>> loggers;
        for (int t = 0; t < 3; ++t) {
            loggers.emplace_back(QThread::create([&] {
                for (; !stop; ++logged)
                    qDebug("line");
            }));
            loggers.back()->start();
        }
        QElapsedTimer clock;
        for (clock.start(); clock.elapsed() < 300;) {
            const auto trace = std::make_unique<TraceFile>(path());
            QThread::usleep(100);
        }
        stop = true;
        for (const auto &logger : loggers)
            logger->wait();
        QCOMPARE(handed.load(), logged.load());
    }
};

QTEST_GUILESS_MAIN(TestTraceFile)
#include "tst_tracefile.moc"
