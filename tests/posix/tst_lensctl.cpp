// tavro-lensctl against the simulated boards: the tool runs in-process with the
// real drivers, each board on a pseudo-terminal of its own; and as the program
// itself, with no display, for what needs no board.

#include "boardsimulator.h"
#include "controller_tavro.h"
#include "controller_usm.h"
#include "driversetup.h"
#include "lensctl.h"
#include "lensprofile.h"
#include "pellanboard.h"
#include "pellanframes.h"
#include "scriptedpeer.h"
#include "tavroboard.h"
#include "tavroframes.h"
#include "tracedecoder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextStream>
#include <QtTest>

#include <cmath>
#include <memory>
#include <thread>

namespace {

// Simulated time runs this much faster than real time, and the tool's pauses
// shrink by as much, so the boards still finish what the pauses wait for.
constexpr double kTimeScale = 50.0;
// Keeps a silent board's cases short.
constexpr LinkTimeouts kLimits{2000, 1000, 1000};
const QString kAbsentPort = QStringLiteral("/nonexistent/ttyLENSCTL");
const QString kTavroProfile = QStringLiteral(TAVRO_PROFILES "/tavro-18x.json");
const QString kPellanProfile = QStringLiteral(TAVRO_PROFILES "/pellan-50mm.json");
// Positions not rising: refused, and nothing sent.
const QByteArray kBrokenProfile = R"({"name": "broken", "zoom": [[0, 6.8], [3000, 9.25], [2000, 24.0]]})";

using Frames = QList<QByteArray>;
using Pauses = QList<unsigned long>;

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray pellanStatus()
{
    return PellanFrames::sealed(PellanFrames::statusQuery());
}

// At the driver's medium speed, the one a new driver moves with.
QByteArray pellanMove(qint32 travel, quint32 speed = 81)
{
    return PellanFrames::sealed(PellanFrames::moveCommand(speed, travel));
}

QSettings presetStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane"),
                     QStringLiteral("Tavro Lens Controller"));
}

// Whatever the drivers log while the tool runs; the tool keeps it all to itself.
QStringList leakedLog;

void recordLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    leakedLog << message;
}

struct Result
{
    int status;
    QString out;
    QStringList errLines;
};

} // namespace

Q_DECLARE_METATYPE(SimFault)

class TestLensCtl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void commands_data();
    void commands();
    void pellanPresetOutlivesTheRun();
    void failures_data();
    void failures();
    void sessions_data();
    void sessions();
    void pellanCalibrationHoldsForTheSession();
    void tavroRangeOfMinusOneIsNoAnswer();
    void units_data();
    void units();
    void backlashTakenUp_data();
    void backlashTakenUp();
    void measureSpeeds_data();
    void measureSpeeds();
    void movesAgainstTime_data();
    void movesAgainstTime();
    void usageErrorsMakeNoDriver_data();
    void usageErrorsMakeNoDriver();
    void program_data();
    void program();

private:
    Result run(const QString &board, const QString &port, const QStringList &words);
    // Runs script, one command a line, as a session with options.
    Result runSession(const QString &board, const QStringList &options, const QString &script);
    void startBoard(const QString &board);
    int pellanRaw()
    {
        return m_sim->withBoard<PellanBoard>([](PellanBoard &board, qint64 now) { return board.rawPosition(now); });
    }

    std::unique_ptr<DriverSetup> m_setup;
    std::unique_ptr<BoardSimulator> m_sim;
    QTemporaryDir m_folder;
};

void TestLensCtl::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    // Line noise around a trace cut short: an exchange of a frame neither board
    // has, a reply whose quoting breaks off, an exchange without its end.
    QFile garbage(m_folder.filePath(QStringLiteral("garbage.log")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    QRandomGenerator random(17);
    for (int i = 0; i < 4096; ++i)
        garbage.putChar(char(random.bounded(256)));
    QFile broken(m_folder.filePath(QStringLiteral("broken.json")));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write(kBrokenProfile) == kBrokenProfile.size());
    QFile script(m_folder.filePath(QStringLiteral("units.session")));
    QVERIFY(script.open(QIODevice::WriteOnly) && script.write("set zoom 50mm\n") > 0);
    garbage.write("\ndata to transmit\n\"fe08000000000000\"\nReceived unexpected response:  \"\\x0\n"
                  "Could not open serial port:  \"ttyS9\"\nReason:  \"No such file or directory\"\n"
                  "Could not open serial port:  \"ttyUSB0\"\nReason:  \"In use by another program: x, process ID 7\"\n"
                  "2026-05-04T10:15:02.317+02:00 debug: data to transmit\n\"fe080000000000\"\n");
}

void TestLensCtl::init()
{
    presetStore().clear();
    leakedLog.clear();
    m_setup = std::make_unique<DriverSetup>(kLimits, kLimits, kTimeScale);
}

void TestLensCtl::cleanup()
{
    m_sim.reset();
    m_setup.reset();
}

Result TestLensCtl::run(const QString &board, const QString &port, const QStringList &words)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const QtMessageHandler testHandler = qInstallMessageHandler(recordLog);
    const int status = LensCtl().run(
        QStringList{QStringLiteral("tavro-lensctl"), QStringLiteral("--board"), board, QStringLiteral("--port"), port}
            + words,
        outStream, errStream);
    qInstallMessageHandler(testHandler);
    outStream.flush();
    errStream.flush();
    return {status, out, err.split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
}

Result TestLensCtl::runSession(const QString &board, const QStringList &options, const QString &script)
{
    QTemporaryFile file;
    if (!file.open() || file.write(script.toUtf8()) != script.toUtf8().size() || !file.flush())
        return {-1, {}, {file.errorString()}};
    return run(board, m_sim->portName(), options + QStringList{QStringLiteral("session"), file.fileName()});
}

void TestLensCtl::startBoard(const QString &board)
{
    if (board == QLatin1String("pellan"))
        m_sim = std::make_unique<BoardSimulator>(std::make_unique<PellanBoard>());
    else
        m_sim = std::make_unique<BoardSimulator>(std::make_unique<TavroBoard>());
    QVERIFY2(m_sim->isOpen(), qPrintable(m_sim->errorString()));
    m_sim->setTimeScale(kTimeScale);
}

// Every command on a board that answers: what goes on the line, what the tool
// prints, and that it waits for a calibration only where the driver does not.
void TestLensCtl::commands_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("output");
    QTest::addColumn<Frames>("frames");
    QTest::addColumn<Pauses>("pauses");

    const auto row = [](const char *name, const char *board, const QStringList &words, const QString &output,
                        const Frames &frames, const Pauses &pauses = {}) {
        QTest::newRow(name) << QString::fromLatin1(board) << words << output << frames << pauses;
    };
    const Frames tavroGet{hex("fe080000000000"), hex("fe150000000000"), hex("fe090000000000"),
                          hex("fe140000000000"), hex("fe0a0000000000"), hex("fe160000000000")};

    row("tavro probe", "tavro", {"probe"}, "1\n", {hex("fe100000000000")});
    row("Tavro PROBE", "Tavro", {"PROBE"}, "1\n", {hex("fe100000000000")});
    row("tavro probe --json", "tavro", {"--json", "probe"}, "{\"lens\":1}\n", {hex("fe100000000000")});
    row("tavro get", "tavro", {"get"},
        "zoom 3675\nzoomMax 7350\nfocus 2000\nfocusMax 4000\niris 2750\nirisMax 5500\n", tavroGet);
    row("tavro get --json", "tavro", {"get", "--json"},
        "{\"focus\":2000,\"focusMax\":4000,\"iris\":2750,\"irisMax\":5500,\"zoom\":3675,\"zoomMax\":7350}\n",
        tavroGet);
    row("tavro set zoom", "tavro", {"set", "zoom", "3000"}, "", {hex("fe0400000bb800")});
    row("tavro set focus", "tavro", {"set", "focus", "1234"}, "", {hex("fe05000004d200")});
    row("tavro set iris --json", "tavro", {"--json", "set", "iris", "5500"},
        "{\"command\":\"set iris 5500\",\"ok\":true}\n", {hex("fe060000157c00")});
    row("tavro run zoom tele", "tavro", {"run", "zoom", "tele"}, "", {hex("ff000020000020")});
    row("tavro run zoom wide", "tavro", {"run", "zoom", "wide"}, "", {hex("ff000040000020")});
    row("tavro run focus near", "tavro", {"run", "focus", "near"}, "", {hex("ff000100000001")});
    row("tavro run focus far", "tavro", {"run", "focus", "far"}, "", {hex("ff000080000080")});
    row("tavro run iris open", "tavro", {"run", "iris", "open"}, "", {hex("ff000200000002")});
    row("tavro run iris close", "tavro", {"run", "iris", "close"}, "", {hex("ff000400000004")});
    row("tavro stop zoom", "tavro", {"stop", "zoom"}, "", {hex("ff000000000020")});
    row("tavro stop focus", "tavro", {"stop", "focus"}, "", {hex("ff000000000000")});
    row("tavro stop iris", "tavro", {"stop", "iris"}, "", {hex("ff000000000000")});
    // The preset goes out as the number itself; where the motors stand is
    // read after it, for the program's record of the preset.
    row("tavro preset store 10", "tavro", {"preset", "store", "10"}, "",
        {hex("ff000003000a00"), tavroGet[0], tavroGet[2], tavroGet[4]});
    row("tavro preset call 1", "tavro", {"preset", "call", "1"}, "", {hex("ff000007000100")});
    row("tavro preset call 2 HIGH", "tavro", {"preset", "call", "2", "HIGH"}, "",
        {hex("ff000025000200"), hex("ff000027000200"), hex("ff000007000200")});
    row("tavro calibrate", "tavro", {"calibrate"}, "", {hex("fe0f0000000000")}, {8000});
    row("tavro speed zoom low", "tavro", {"speed", "zoom", "low"}, "", {hex("ff000025000000")});
    row("tavro speed focus medium", "tavro", {"speed", "focus", "medium"}, "", {hex("ff000027000100")});
    row("tavro speed focus high", "tavro", {"speed", "focus", "high"}, "", {hex("ff000027000200")});
    row("tavro store", "tavro", {"store"}, "", {hex("fe110000000000")});

    // A new driver knows no calibration: focus 0 is raw 0, and the simulated
    // focus rests at raw 20000.
    row("pellan probe", "pellan", {"probe"}, "focus\n", {pellanStatus()});
    row("pellan probe --json", "pellan", {"--json", "probe"}, "{\"lens\":\"focus\"}\n", {pellanStatus()});
    row("pellan get", "pellan", {"get"}, "focus 2000\nfocusMax 4550\n", {pellanStatus()});
    row("pellan get --json", "pellan", {"--json", "get"},
        "{\"focus\":2000,\"focusMax\":4550,\"iris\":null,\"irisMax\":null,\"zoom\":null,\"zoomMax\":null}\n",
        {pellanStatus()});
    row("pellan set focus", "pellan", {"set", "focus", "3000"}, "", {pellanStatus(), pellanMove(10000)});
    row("pellan run focus near", "pellan", {"run", "focus", "near"}, "", {pellanStatus(), pellanMove(-20000)});
    row("pellan run focus far", "pellan", {"run", "focus", "far"}, "", {pellanStatus(), pellanMove(25500)});
    row("pellan stop focus", "pellan", {"stop", "focus"}, "", {pellanMove(0)});
    row("pellan preset store 3", "pellan", {"preset", "store", "3"}, "", {pellanStatus(), pellanStatus()});
    row("pellan preset call 3", "pellan", {"preset", "call", "3"}, "", {pellanStatus(), pellanMove(-20000)});
    row("pellan preset call 3 low", "pellan", {"preset", "call", "3", "low"}, "", {pellanStatus(), pellanMove(-20000, 40)});
    row("pellan calibrate --json", "pellan", {"calibrate", "--json"}, "{\"command\":\"calibrate\",\"ok\":true}\n",
        {pellanMove(48500), pellanStatus(), pellanMove(-48500), pellanMove(0), pellanStatus(), pellanStatus(),
         pellanStatus()},
        {8000, 8000});
    // The focus speed and the presets live in the Pellan driver: nothing to send.
    row("pellan speed focus high", "pellan", {"speed", "focus", "high"}, "", {});
    row("pellan store", "pellan", {"store"}, "", {});
}

void TestLensCtl::commands()
{
    QFETCH(QString, board);
    QFETCH(QStringList, words);
    QFETCH(QString, output);
    QFETCH(Frames, frames);
    QFETCH(Pauses, pauses);

    startBoard(board);
    const Result result = run(board, m_sim->portName(), words);

    QCOMPARE(result.errLines, QStringList());
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, output);
    QVERIFY(m_sim->waitForFrames(frames.size(), 2000));
    QCOMPARE(m_sim->frames(), frames);
    QCOMPARE(m_setup->pauses, pauses);
    QCOMPARE(leakedLog, QStringList());
}

// Every run is a new driver, so a Pellan preset must be on disk when the run
// that stored it ends.
void TestLensCtl::pellanPresetOutlivesTheRun()
{
    startBoard(QStringLiteral("pellan"));
    const QString port = m_sim->portName();
    const auto lensctl = [&](const QStringList &words) { return run(QStringLiteral("pellan"), port, words).status; };

    QCOMPARE(lensctl({"set", "focus", "3000"}), 0);
    QTRY_COMPARE(pellanRaw(), 30000);
    QCOMPARE(lensctl({"preset", "store", "3"}), 0);
    QCOMPARE(lensctl({"set", "focus", "500"}), 0);
    QTRY_COMPARE(pellanRaw(), 5000);
    QCOMPARE(lensctl({"preset", "call", "3"}), 0);
    QTRY_COMPARE(pellanRaw(), 30000);
}

// With --verbose, on a board that answers, fails to or is not there. A failure
// gives status 1, nothing on standard output and, last on standard error, one
// line naming the command, the problem and the port, after the drivers' errors;
// no calibration wait, no preset written, and the first exchange that fails
// ends the command. Each exchange is told as it happens the way decode reads it
// from the trace file of the same run, but for the time and the round trip.
void TestLensCtl::failures_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<bool>("boardPresent");
    QTest::addColumn<SimFault>("fault");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("problem"); // %1 stands for the port; empty when the command succeeds
    QTest::addColumn<QString>("last"); // how the last exchange reads, when checked
    QTest::addColumn<int>("decoded"); // decode's status

    const auto row = [](const char *name, const char *board, bool present, SimFault fault, const QStringList &words,
                        const char *problem, const char *last = "", int decoded = 0) {
        QTest::newRow(name) << QString::fromLatin1(board) << present << fault << words << QString::fromLatin1(problem)
                            << QString::fromLatin1(last) << decoded;
    };
    const char *silent = "no valid answer from the board on %1";
    const char *refused = "the board on %1 rejected the command or did not acknowledge it";
    const char *absent = "Could not open serial port: %1 (No such file or directory)";

    row("tavro get", "tavro", true, SimFault::None, {"get"}, "",
        "get iris maximum [FE 16 00 00 00 00 00] -> iris maximum 5500 [00 7C 15 00 00]");
    row("tavro probe, silent", "tavro", true, SimFault::NoReply, {"probe"}, silent,
        "get lens type [FE 10 00 00 00 00 00] -> no reply");
    row("tavro get, silent", "tavro", true, SimFault::NoReply, {"--json", "get"}, silent);
    row("tavro get, short reply", "tavro", true, SimFault::ShortReply, {"get"}, silent,
        "get zoom position [FE 08 00 00 00 00 00] -> incomplete reply");
    row("tavro set zoom, rejected", "tavro", true, SimFault::Rejected, {"set", "zoom", "10"}, refused,
        "-> rejected (status 01) [01]");
    row("tavro calibrate, rejected", "tavro", true, SimFault::Rejected, {"calibrate"}, refused);
    row("tavro store, silent", "tavro", true, SimFault::NoReply, {"--json", "store"}, refused);
    row("tavro probe, no port", "tavro", false, SimFault::None, {"probe"}, absent);
    row("pellan set focus", "pellan", true, SimFault::None, {"set", "focus", "3000"}, "",
        "move +10000 steps at speed 81 [01 64 01 00 00 00 51 00 00 27 10 00 00 00 2D 10] -> "
        "echo [01 64 01 00 00 00 51 00 00 27 10 00 00 00 2D 10]");
    row("pellan probe, silent", "pellan", true, SimFault::NoReply, {"probe"}, silent);
    row("pellan get, rejected", "pellan", true, SimFault::Rejected, {"get"}, silent);
    row("pellan set focus, silent", "pellan", true, SimFault::NoReply, {"set", "focus", "100"}, refused);
    row("pellan stop focus, rejected", "pellan", true, SimFault::Rejected, {"stop", "focus"}, refused,
        "-> rejected (exception 04) [01 E4 04 6A C3]");
    row("pellan stop focus, wrong echo", "pellan", true, SimFault::WrongEcho, {"stop", "focus"}, refused,
        "-> move 0 steps at speed 81 (stop), CRC wrong (expected 1D D7) [01 64 01 00 00 00 51 00 00 00 00 00 00 00 1D 28]",
        1);
    row("pellan preset store, silent", "pellan", true, SimFault::NoReply, {"preset", "store", "2"}, refused);
    // The focus stays where it is: no move from a position a line error changed.
    row("pellan set focus, bit error", "pellan", true, SimFault::BitError, {"set", "focus", "2000"}, refused,
        "-> position 1073761824, standing, CRC wrong (expected 3E 47) [01 65 00 00 00 00 00 00 40 00 4E 20 00 00 30 87]", 1);
}

void TestLensCtl::failures()
{
    QFETCH(QString, board);
    QFETCH(bool, boardPresent);
    QFETCH(SimFault, fault);
    QFETCH(QStringList, words);
    QFETCH(QString, problem);
    QFETCH(QString, last);
    QFETCH(int, decoded);

    QString port = kAbsentPort;
    if (boardPresent) {
        startBoard(board);
        m_sim->setFault(fault);
        port = m_sim->portName();
    }
    const QString tracePath = m_folder.filePath(QStringLiteral("trace-%1.log").arg(QTest::currentDataTag()));
    qputenv("TAVRO_TRACE_FILE", tracePath.toLocal8Bit());
    const Result result = run(board, port, QStringList{"--verbose"} + words);
    qunsetenv("TAVRO_TRACE_FILE");

    QCOMPARE(result.status, problem.isEmpty() ? 0 : 1);
    const QString command = words.filter(QRegularExpression(QStringLiteral("^[^-]"))).join(QLatin1Char(' '));
    const QStringList failureLines = problem.isEmpty() ? QStringList()
        : QStringList{QStringLiteral("tavro-lensctl: %1: %2").arg(command, problem.arg(port))};
    QCOMPARE(result.errLines.filter(QRegularExpression(QStringLiteral("^tavro-lensctl: "))), failureLines);
    QCOMPARE(result.errLines.filter(QRegularExpression(QStringLiteral("^critical: "))).isEmpty(), problem.isEmpty());
    if (!problem.isEmpty()) {
        QCOMPARE(result.errLines.last(), failureLines.first());
        QCOMPARE(result.out, QString());
        QCOMPARE(m_setup->pauses, Pauses());
        QCOMPARE(presetStore().allKeys(), QStringList());
        QVERIFY(!boardPresent || m_sim->frames().size() == 1);
    }
    if (!boardPresent)
        return;

    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QCOMPARE(TraceDecoder(outStream, errStream).run(std::nullopt, {tracePath}), decoded);
    // The time, the round trip, and bytes of an incomplete reply, which the
    // trace does not hold, are left out.
    const auto told = [](QString line) {
        return line.mid(25)
            .remove(QRegularExpression(QStringLiteral("  [0-9.]+ ms$")))
            .remove(QRegularExpression(QStringLiteral("(?<=incomplete reply) \\[.*\\]$")));
    };
    QStringList live;
    for (const QString &line : result.errLines.filter(QRegularExpression(QStringLiteral("^exchange: "))))
        live << told(line.mid(10));
    QStringList traced;
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        traced << told(line);
    QCOMPARE(traced, live);
    QVERIFY2(!traced.isEmpty() && traced.last().endsWith(last), qPrintable(traced.join(QLatin1Char('\n'))));
}

// Sessions on the simulated Tavro board: the lines run in order on one
// driver; a bad line stops the session before anything is sent.
void TestLensCtl::sessions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("firstRejected");
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error"); // %1 stands for the port
    QTest::addColumn<Frames>("frames");

    const char *rejected = "tavro-lensctl: store: the board on %1 rejected the command or did not acknowledge it";
    QTest::newRow("JSON lines; comments, blank lines, any case")
        << QStringList{"--json"} << false << "# bench\n\n  probe  \n\t# zoom\nSET Zoom 3000" << 0
        << "{\"command\":\"probe\",\"lens\":1,\"ok\":true}\n{\"command\":\"set zoom 3000\",\"ok\":true}\n" << ""
        << Frames{hex("fe100000000000"), hex("fe0400000bb800")};
    QTest::newRow("bad line, nothing sent")
        << QStringList() << false << "probe\n\nset zoom -5\nstore\n" << 2 << ""
        << "tavro-lensctl: line 3: the position must be 0 or more (see --help)" << Frames();
    QTest::newRow("failed command ends the session")
        << QStringList{"--json"} << true << "store\nstop zoom\n" << 1 << "{\"command\":\"store\",\"ok\":false}\n"
        << rejected << Frames{hex("fe110000000000")};
    QTest::newRow("--keep-going") << QStringList{"--keep-going"} << true << "store\nprobe\n" << 1 << "1\n" << rejected
                                  << Frames{hex("fe110000000000"), hex("fe100000000000")};
}

void TestLensCtl::sessions()
{
    QFETCH(QStringList, options);
    QFETCH(bool, firstRejected);
    QFETCH(QString, script);
    QFETCH(int, status);
    QFETCH(QString, output);
    QFETCH(QString, error);
    QFETCH(Frames, frames);

    startBoard(QStringLiteral("tavro"));
    if (firstRejected)
        m_sim->setFault(SimFault::Rejected, 1);
    const Result result = runSession(QStringLiteral("tavro"), options, script);

    QCOMPARE(result.status, status);
    QCOMPARE(result.out, output);
    QCOMPARE(result.errLines.join(QLatin1Char('\n')), error.arg(m_sim->portName()));
    QVERIFY(m_sim->waitForFrames(frames.size(), 2000));
    QCOMPARE(m_sim->frames(), frames);
}

// The driver's calibration makes the near end focus 0, so focus 1000 is raw
// 11000 on the simulated lens, whose near end is raw 1000; a driver of its
// own would take raw 10000 for it.
void TestLensCtl::pellanCalibrationHoldsForTheSession()
{
    startBoard(QStringLiteral("pellan"));
    const Result result = runSession(QStringLiteral("pellan"), {}, "calibrate\nset focus 1000\n");

    QCOMPARE(result.errLines, QStringList());
    QCOMPARE(result.status, 0);
    QTRY_COMPARE(pellanRaw(), PellanBoard::nearEnd + 10000);
}

// Every exchange succeeds, but a range below 0 is no range: the board
// answered in the wrong form.
void TestLensCtl::tavroRangeOfMinusOneIsNoAnswer()
{
    ScriptedPeer board(TavroBoard::frameSize);
    for (const char *reply : {"00e8030000", "00ffffffff", "00e8030000", "00a00f0000", "00e8030000", "007c150000"})
        board.queueReply(hex(reply));
    const Result result = run(QStringLiteral("tavro"), board.portName(), {"get"});

    QCOMPARE(result.status, 1);
    QCOMPARE(result.out, QString());
    QCOMPARE(result.errLines,
             QStringList{QStringLiteral("tavro-lensctl: get: no valid answer from the board on ") + board.portName()});
}

// The lens's units through the example profiles, on the boards as they start
// (Tavro zoom 3675, focus 2000, iris 2750; Pellan focus 2000): get adds the
// readings, a set lands within a count of the profile's inverse, and a value
// the profile cannot place is a usage error that moves nothing.
void TestLensCtl::units_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error"); // what standard error holds
    QTest::addColumn<int>("frames");
    QTest::addColumn<double>("target"); // where the last frame goes, within a count; NaN for no move

    const LensProfile tavro = LensProfile::readFile(kTavroProfile).profile.value();
    const LensProfile pellan = LensProfile::readFile(kPellanProfile).profile.value();
    const QString broken = m_folder.filePath(QStringLiteral("broken.json"));
    const QStringList withTavro{"--profile", kTavroProfile};
    const QStringList withPellan{"--profile", kPellanProfile};
    const double none = std::nan("");
    const auto row = [](const char *name, const char *board, const QStringList &words, int status, const QString &output,
                        const QString &error, int frames, double target) {
        QTest::newRow(name) << QString::fromLatin1(board) << words << status << output << error << frames << target;
    };
    const auto fixed = [](const std::optional<double> &value, int decimals) {
        return QString::number(value.value(), 'f', decimals);
    };
    row("tavro get", "tavro", withTavro + QStringList{"get"}, 0,
        QStringLiteral("zoom 3675\nzoomMax 7350\nfocus 2000\nfocusMax 4000\niris 2750\nirisMax 5500\n"
                       "zoomMm %1\nfocusM %2\nirisF %3\nhfovDeg %4\n")
            .arg(fixed(tavro.focalLengthMm(3675), 2), fixed(tavro.focusDistanceM(2000, 3675), 3),
                 fixed(tavro.fNumber(2750), 2), fixed(tavro.horizontalFovDeg(3675), 2)),
        "", 6, none);
    row("pellan get --json", "pellan", withPellan + QStringList{"--json", "get"}, 0,
        QStringLiteral("{\"focus\":2000,\"focusM\":%1,\"focusMax\":4550,\"hfovDeg\":null,\"iris\":null,"
                       "\"irisF\":null,\"irisMax\":null,\"zoom\":null,\"zoomMax\":null,\"zoomMm\":null}\n")
            .arg(fixed(pellan.focusDistanceM(2000, 0), 3).toDouble()),
        "", 1, none);
    row("set zoom 50mm", "tavro", withTavro + QStringList{"set", "zoom", "50mm"}, 0, "", "", 1,
        *tavro.zoomForFocalLength(50));
    row("session: set zoom 50mm", "tavro", withTavro + QStringList{"session", m_folder.filePath("units.session")}, 0,
        "", "", 1, *tavro.zoomForFocalLength(50));
    // Every value read, then the focus once more for the side its goto comes from.
    row("set focus inf at the zoom read", "tavro", withTavro + QStringList{"set", "focus", "inf"}, 0, "", "", 8,
        *tavro.focusForDistance(std::numeric_limits<double>::infinity(), 3675));
    // With a backlash in the profile the focus is read first; farther than
    // where it stands, it goes straight there.
    row("pellan set focus 3m", "pellan", withPellan + QStringList{"set", "focus", "3m"}, 0, "", "", 3,
        *pellan.focusForDistance(3.0, 0));
    row("set iris f/4", "tavro", withTavro + QStringList{"set", "iris", "f/4"}, 0, "", "", 1, *tavro.irisForFNumber(4));
    row("set zoom 500mm", "tavro", withTavro + QStringList{"set", "zoom", "500mm"}, 2, "",
        "zoom 500mm: outside the profile's range 6.80 to 120.00 mm (see --help)", 0, none);
    row("set focus 0.05m, read at zoom 3675", "tavro", withTavro + QStringList{"set", "focus", "0.05m"}, 2, "",
        "set focus 0.05m: outside the profile's range 1.500 to inf m at zoom 3675", 6, none);
    row("set focus in mm", "tavro", withTavro + QStringList{"set", "focus", "35mm"}, 2, "",
        "focus 35mm: the focus takes counts or a distance in m (see --help)", 0, none);
    row("set zoom 35mm without a profile", "tavro", {"set", "zoom", "35mm"}, 2, "",
        "zoom 35mm: a position in the lens's units needs --profile (see --help)", 0, none);
    row("broken profile", "tavro", {"--profile", broken, "get"}, 2, "", LensProfile::readFile(broken).error, 0, none);
    row("pellan profile on tavro", "tavro", withPellan + QStringList{"probe"}, 2, "",
        "the profile " + kPellanProfile + " is for the pellan board", 0, none);
}

void TestLensCtl::units()
{
    QFETCH(QString, board);
    QFETCH(QStringList, words);
    QFETCH(int, status);
    QFETCH(QString, output);
    QFETCH(QString, error);
    QFETCH(int, frames);
    QFETCH(double, target);

    startBoard(board);
    const Result result = run(board, m_sim->portName(), words);

    QCOMPARE(result.errLines, error.isEmpty() ? QStringList() : QStringList{"tavro-lensctl: " + error});
    QCOMPARE(result.status, status);
    QCOMPARE(result.out, output);
    QVERIFY(m_sim->waitForFrames(frames, 2000));
    QTest::qWait(50);
    QCOMPARE(m_sim->frames().size(), frames);
    if (std::isnan(target))
        return;
    const qint32 sent = board == QLatin1String("pellan")
        ? m_sim->withBoard<PellanBoard>([](PellanBoard &sim, qint64) { return sim.target(); }) / 10
        : TavroFrames::decodeFrame(m_sim->frames().last())->value;
    QVERIFY2(std::abs(sent - target) <= 1, qPrintable(QStringLiteral("%1 for %2").arg(sent).arg(target)));
}

// On a board whose lens lags its motor by 40 counts after a reversal, a focus
// sent down to a target ends with the lens on it, as one sent up does.
void TestLensCtl::backlashTakenUp_data()
{
    QTest::addColumn<int>("target");
    QTest::newRow("down from 2000") << 1000;
    QTest::newRow("up from 2000") << 3000;
}

void TestLensCtl::backlashTakenUp()
{
    QFETCH(int, target);
    startBoard(QStringLiteral("tavro"));
    m_sim->withBoard<TavroBoard>([](TavroBoard &board, qint64) { board.setBacklash(40); return 0; });
    QCOMPARE(run("tavro", m_sim->portName(), {"--profile", kTavroProfile, "set", "focus", QString::number(target)}).status, 0);
    QTRY_COMPARE(m_sim->withBoard<TavroBoard>([](TavroBoard &board, qint64 now) {
        return board.lensPosition(TavroBoard::Axis::Focus, now);
    }), target);
}

// measure-speeds on the simulated boards, their time running at a quarter of
// the line's pace: every motor's speed at each level within 5 % of the
// board's (in counts per second of real time), every other key of the
// profile kept; a board falling silent midway leaves the file as it was, and
// the zoom on its way sent a stop.
void TestLensCtl::measureSpeeds_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("profile");
    // By motor, "|" between them; empty when the board falls silent.
    QTest::addColumn<QString>("speeds");

    QTest::newRow("tavro") << "tavro" << kTavroProfile << "400 1500 6000|300 1200 4000|2750";
    // The driver's counts are raw steps / 10.
    QTest::newRow("pellan") << "pellan" << kPellanProfile << "|400 810 2430|";
    QTest::newRow("tavro falling silent") << "tavro" << kTavroProfile << "";
}

void TestLensCtl::measureSpeeds()
{
    QFETCH(QString, board);
    QFETCH(QString, profile);
    QFETCH(QString, speeds);
    constexpr double timeScale = 4;
    startBoard(board);
    m_sim->setTimeScale(timeScale);
    const QString path = m_folder.filePath(QStringLiteral("measured.json"));
    QFile::remove(path);
    QVERIFY(QFile::copy(profile, path));
    const LensProfileData before = LensProfile::readFile(path).profile->data();
    std::thread silencer([this, &speeds] {
        if (speeds.isEmpty() && m_sim->waitForFrames(20, 10000))
            m_sim->setFault(SimFault::NoReply);
    });
    const Result result = run(board, m_sim->portName(), {"--profile", path, "measure-speeds"});
    silencer.join();
    const LensProfile::Read read = LensProfile::readFile(path);
    QVERIFY2(read.profile, qPrintable(read.error));
    LensProfileData after = read.profile->data();
    if (speeds.isEmpty()) {
        QCOMPARE(result.status, 1);
        QCOMPARE(result.errLines.last(), "tavro-lensctl: measure-speeds: no valid answer from the board on " + m_sim->portName());
        QCOMPARE(after.toJson(), before.toJson());
        QCOMPARE(m_sim->frames().last(), hex("ff000000000020"));
        return;
    }
    QCOMPARE(result.status, 0);
    QVERIFY2(result.out.contains(QRegularExpression(QStringLiteral("\nmeasured in [0-9.]+ s, speeds written to "))),
             qPrintable(result.out));
    const QStringList motors = speeds.split(QLatin1Char('|'));
    for (int axis = 0; axis < lensAxisCount; ++axis) {
        const QStringList rates = motors.at(axis).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QCOMPARE(after.speeds[axis].size(), size_t(rates.size()));
        for (int level = 0; level < rates.size(); ++level) {
            const double expected = rates.at(level).toDouble() * timeScale;
            QVERIFY2(std::abs(after.speeds[axis][level] / expected - 1) <= 0.05,
                     qPrintable(QStringLiteral("%1 for %2").arg(after.speeds[axis][level]).arg(expected)));
        }
    }
    after.speeds = before.speeds;
    QCOMPARE(after.toJson(), before.toJson());
}

// A command line the tool cannot carry out is refused before any driver
// exists, so nothing can have been sent.
// Timed and followed moves on the board's own clock, read every 10 ms: a
// timed move's motors arrive together in the time asked, on an eased course
// and never reversing; a followed zoom keeps the focus on the distance it
// stood at. The lens stands at the near end, preset 3 at the far one.
void TestLensCtl::movesAgainstTime_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<double>("seconds");
    const QStringList profile{QStringLiteral("--profile"), kTavroProfile};
    QTest::newRow("preset call 3 --in 3") << profile + QStringList{"preset", "call", "3", "--in", "3"} << 3.0;
    QTest::newRow("set zoom 7000 --in 2") << profile + QStringList{"set", "zoom", "7000", "--in", "2"} << 2.0;
    QTest::newRow("--track-focus set zoom 7000") << profile + QStringList{"--track-focus", "set", "zoom", "7000"} << 0.0;
}

void TestLensCtl::movesAgainstTime()
{
    QFETCH(QStringList, words);
    QFETCH(double, seconds);
    startBoard(QStringLiteral("tavro"));
    QCOMPARE(runSession("tavro", {}, "set zoom 7000\nset focus 3500\nset iris 4000\n").status, 0);
    QTest::qWait(200);
    QCOMPARE(runSession("tavro", {}, "preset store 3\nset zoom 300\nset focus 2000\nset iris 1200\n").status, 0);
    QTest::qWait(200);
    m_sim->setTimeScale(1);
    using Sample = std::array<qint64, 4>;
    const auto sample = [this] {
        return m_sim->withBoard<TavroBoard>([](TavroBoard &board, qint64 now) {
            return Sample{now, board.position(TavroBoard::Axis::Zoom, now), board.position(TavroBoard::Axis::Focus, now),
                          board.position(TavroBoard::Axis::Iris, now)};
        });
    };
    std::vector<Sample> samples{sample()};
    std::atomic<bool> done = false;
    std::thread reader([&] {
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            samples.push_back(sample());
        }
    });
    const Result result = run(QStringLiteral("tavro"), m_sim->portName(), words);
    QTest::qWait(300);
    done = true;
    reader.join();
    QCOMPARE(result.errLines, QStringList());
    const Sample first = samples.front();
    const Sample last = samples.back();
    if (seconds == 0) {
        const LensProfile profile = *LensProfile::readFile(kTavroProfile).profile;
        const double metres = *profile.focusDistanceM(first[2], first[1]);
        const auto offCurve = [&profile, metres](const Sample &at) {
            return std::abs(at[2] - *profile.focusForDistance(metres, at[1]));
        };
        for (const Sample &at : samples)
            QVERIFY2(offCurve(at) <= 0.02 * (4000 - 300), qPrintable(QStringLiteral("focus %1 at zoom %2").arg(at[2]).arg(at[1])));
        QCOMPARE(last[1], 7000);
        QVERIFY(offCurve(last) <= 1);
        return;
    }
    const double asked = seconds * 1000;
    QList<qint64> arrivals;
    for (size_t axis = 1; axis < 4; ++axis) {
        if (first[axis] == last[axis])
            continue;
        const double travel = double(last[axis] - first[axis]);
        qint64 setOff = -1;
        qint64 arrived = -1;
        for (size_t i = 1; i < samples.size(); ++i) {
            QVERIFY2((samples[i][axis] - samples[i - 1][axis]) * travel >= 0, "a motor reversed");
            if (setOff < 0 && samples[i][axis] != first[axis])
                setOff = samples[i - 1][0] - first[0];
            if (arrived < 0 && samples[i][axis] == last[axis])
                arrived = samples[i][0] - first[0];
        }
        arrivals << arrived;
        QVERIFY2(std::abs(arrived - asked) <= std::max(0.1 * asked, 300.0), qPrintable(QString::number(arrived)));
        // The iris has one speed: it sets off late enough to arrive with the others.
        if (axis == 3)
            continue;
        QVERIFY2(setOff <= 300, qPrintable(QString::number(setOff)));
        const auto shareAt = [&](double ms) {
            const auto at = std::find_if(samples.begin(), samples.end(),
                                         [&](const Sample &each) { return each[0] - first[0] >= ms; });
            return ((*at)[axis] - first[axis]) / travel;
        };
        QVERIFY2(shareAt(setOff + (arrived - setOff) * 0.1) <= 0.07, "too fast in the first tenth");
        QVERIFY2(shareAt(setOff + (arrived - setOff) * 0.9) >= 0.93, "too fast in the last tenth");
    }
    QVERIFY(!arrivals.isEmpty());
    QVERIFY(*std::max_element(arrivals.begin(), arrivals.end()) - *std::min_element(arrivals.begin(), arrivals.end()) <= 300);
}

void TestLensCtl::usageErrorsMakeNoDriver_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("problem");

    const auto row = [](const char *name, const QStringList &arguments, const char *problem) {
        QTest::newRow(name) << arguments << QString::fromLatin1(problem);
    };
    const QStringList tavro{"--board", "tavro", "--port", "ttyUSB0"};
    const QStringList pellan{"--board", "pellan", "--port", "ttyUSB0"};

    row("no board", QStringList{"--port", "ttyUSB0", "probe"}, "--board must be tavro or pellan");
    row("no port", QStringList{"--board", "tavro", "probe"}, "--port names no port");
    row("unknown option", tavro + QStringList{"--fast", "probe"}, "Unknown option 'fast'");
    row("no command", tavro, "no command given");
    row("unknown command", tavro + QStringList{"home"}, "unknown command 'home'");
    row("probe with an argument", tavro + QStringList{"probe", "1"}, "probe takes no arguments");
    row("set without a position", tavro + QStringList{"set", "zoom"}, "set takes a motor and a position");
    row("set, position not a number", tavro + QStringList{"set", "zoom", "12x"}, "bad position '12x'");
    row("set, position beyond int", tavro + QStringList{"set", "zoom", "4294967296"}, "bad position");
    row("set, position below 0", tavro + QStringList{"set", "focus", "-5"}, "the position must be 0 or more");
    row("--keep-going outside a session", tavro + QStringList{"--keep-going", "probe"}, "--keep-going is for sessions");
    row("session of two files", tavro + QStringList{"session", "a", "b"}, "session takes at most a file");
    row("measure-speeds without a profile", tavro + QStringList{"measure-speeds"}, "measure-speeds needs --profile FILE");
    row("session file missing", tavro + QStringList{"session", kAbsentPort}, "cannot read /nonexistent/");
    row("set, unknown motor", tavro + QStringList{"set", "shutter", "1"}, "unknown motor 'shutter'");
    row("run, direction of another motor", tavro + QStringList{"run", "zoom", "near"}, "'near' is not one of wide|tele");
    row("stop without a motor", tavro + QStringList{"stop"}, "stop takes a motor");
    row("preset 0", tavro + QStringList{"preset", "call", "0"}, "bad preset '0' (a whole number from 1 to 10)");
    row("preset, unknown action", tavro + QStringList{"preset", "clear", "3"}, "'clear' is not one of store|call");
    row("preset store at a speed", tavro + QStringList{"preset", "store", "3", "low"}, "preset takes store or call and a");
    row("a timed move without measured speeds", tavro + QStringList{"set", "zoom", "3000", "--in", "6"},
        "a timed move needs the motors' measured speeds");
    row("a preset call at a speed and in a time", tavro + QStringList{"preset", "call", "3", "low", "--in", "6"},
        "a preset call takes a speed or a time (--in), not both");
    row("--in 0", tavro + QStringList{"set", "zoom", "3000", "--in", "0"}, "--in takes the seconds the move is to take");
    row("--track-focus without a focus curve", tavro + QStringList{"--track-focus", "get"},
        "keeping the focus while zooming needs a lens profile with a focus curve");
    row("preset call, unknown speed", tavro + QStringList{"preset", "call", "3", "fast"}, "'fast' is not one of low|medium|high");
    row("speed, unknown level", tavro + QStringList{"speed", "zoom", "fast"}, "'fast' is not one of low|medium|high");
    row("speed of the iris", tavro + QStringList{"speed", "iris", "low"}, "the iris speed cannot be chosen");
    row("pellan set zoom", pellan + QStringList{"set", "zoom", "10"}, "the Pellan board has no zoom motor");
    row("pellan run iris", pellan + QStringList{"run", "iris", "open"}, "the Pellan board has no iris motor");
}

void TestLensCtl::usageErrorsMakeNoDriver()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, problem);

    int driversMade = 0;
    const LensCtl lensctl([&driversMade](BoardType board, const QString &port) {
        ++driversMade;
        return LensBoard::makeDriver(board, port);
    });
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status = lensctl.run(QStringList{QStringLiteral("tavro-lensctl")} + arguments, outStream, errStream);
    outStream.flush();
    errStream.flush();

    QCOMPARE(status, 2);
    QCOMPARE(driversMade, 0);
    QCOMPARE(out, QString());
    QVERIFY2(err.startsWith(QLatin1String("tavro-lensctl: ") + problem), qPrintable(err));
    QCOMPARE(err.count(QLatin1Char('\n')), 1);
    QVERIFY(err.endsWith(QLatin1Char('\n')));
}

// The program itself, started where there is no display and no platform is
// named.
void TestLensCtl::program_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output"); // a pattern; . matches newlines too
    QTest::addColumn<QString>("error"); // a pattern

    QTest::newRow("--help") << QStringList{"--help"} << 0
                            << "^Usage: \\S*tavro-lensctl \\[options\\] COMMAND \\[ARGS\\]\\n.*"
                               "preset store\\|call N.*Exit status: 0.*--board <board>.*--json"
                            << "^$";
    QTest::newRow("no arguments") << QStringList() << 2 << "^$" << "^Usage: \\S*tavro-lensctl .*session \\[FILE\\]";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "^tavro-lensctl \\d+\\.\\d+\\n$" << "^$";
    QTest::newRow("decode frames") << QStringList{"--board", "tavro", "decode", "FE 04 00 00 0B B8 00", "ff000000000000"}
                                   << 0 << "^FE 04 00 00 0B B8 00: set zoom position 3000\nFF 00 00 00 00 00 00: "
                                           "focus stop / iris stop\n$" << "^$";
    QTest::newRow("decode, unknown and CRC wrong")
        << QStringList{"decode", "fe99", "0165000000000000000000000000 2666"} << 1
        << "^FE 99: unknown frame\n01 65 00 .* 26 66: status query, CRC wrong \\(expected 26 65\\)\n$" << "^$";
    QTest::newRow("decode, not hex") << QStringList{"decode", "fe0"} << 2 << "^$"
                                     << "^tavro-lensctl: 'fe0' is neither a file nor a frame in hex \\(see --help\\)\n$";
    QTest::newRow("decode, nothing") << QStringList{"decode"} << 2 << "^$" << "^tavro-lensctl: decode takes ";
    QTest::newRow("decode, no exchange on standard input") << QStringList{"decode", "-"} << 1 << "^$"
                                                            << "^tavro-lensctl: decode: no exchanges with a board in -\n$";
    QTest::newRow("decode, unknown board") << QStringList{"--board", "other", "decode", "fe"} << 2 << "^$"
                                           << "^tavro-lensctl: --board must be tavro or pellan";
    QTest::newRow("profile check") << QStringList{"profile", "check", kTavroProfile} << 0
                                   << "^name: .*\nboard: tavro\nzoom: 6.80 to 120.00 mm over 0 to 7350\n"
                                      "focus: 0.500 m to inf over 400 to 3500 at zoom 0\nfocus: .* at zoom 7350\n"
                                      "iris: f/1.80 to f/22.00 over 0 to 5500\nangle: 2.75 to .* deg horizontal\n$"
                                   << "^$";
    QTest::newRow("profile check, broken") << QStringList{"profile", "check", m_folder.filePath("broken.json")} << 2
                                           << "^$" << "^tavro-lensctl: .*broken.json.*\n$";
    QTest::newRow("decode, garbage") << QStringList{"decode", m_folder.filePath("garbage.log")} << 1
                                     << "^Tavro  unknown frame \\[FE 08 00 00 00 00 00 00\\] -> rejected\n"
                                        "nothing sent -> port not opened \\(ttyS9\\)\n"
                                        "nothing sent -> port busy \\(ttyUSB0\\)\n"
                                        "2026-05-04 10:15:02.317  Tavro  get zoom position \\[FE 08 00 00 00 00 00\\] "
                                        "-> \\(no outcome in the trace\\)\n$" << "^$";
}

void TestLensCtl::program()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    QFETCH(QString, error);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    QProcess lensctl;
    lensctl.setProcessEnvironment(environment);
    lensctl.setStandardInputFile(QProcess::nullDevice());
    lensctl.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tavro-lensctl"), arguments);
    QVERIFY2(lensctl.waitForFinished(20000), qPrintable(lensctl.errorString()));

    QCOMPARE(lensctl.exitStatus(), QProcess::NormalExit);
    const QString out = QString::fromLocal8Bit(lensctl.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(lensctl.readAllStandardError());
    QCOMPARE(lensctl.exitCode(), status);
    const auto matches = [](const QString &pattern, const QString &text) {
        return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption).match(text).hasMatch();
    };
    QVERIFY2(matches(output, out), qPrintable(out));
    QVERIFY2(matches(error, err), qPrintable(err));
}

QTEST_MAIN(TestLensCtl)
#include "tst_lensctl.moc"
