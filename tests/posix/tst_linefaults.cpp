// What a cable does to the real drivers in real life, against the simulated
// boards on a pseudo-terminal: noise before a reply, a reply that comes after
// its time-out. Each time the program must give up within its (here
// shortened) time-outs, log what went wrong, tell the operator nothing, and
// work again with the next transaction. Replies come as the line delivers
// them: at the baud rate, in pieces.

#include "boardsimulator.h"
#include "controller_tavro.h"
#include "controller_usm.h"
#include "driversetup.h"
#include "pellanboard.h"
#include "startconfig.h"
#include "tavroboard.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Simulated time runs this much faster, and the drivers' pauses shrink by as
// much, so the boards still finish what the pauses wait for.
constexpr double kTimeScale = 50.0;
// Shortened so that every failure gives up quickly.
constexpr LinkTimeouts kTavroLimits{500, 200, 100};
constexpr LinkTimeouts kPellanLimits{500, 200, 0};
// What a machine under load may add to a time-out before an exchange returns.
constexpr qint64 kSlackMs = 150;
// Well past every shortened time-out, and long before a real one.
constexpr int kLateReplyMs = 600;

const char *const kQueryTimeout = "^Timeout waiting for response for NOK/OK$";
const char *const kCommandTimeout = "^Timeout waiting for response$";
const char *const kUnexpected = "^Received unexpected response:  \".+\"$";
const char *const kStatusUnused = "^Status reply not used, .+: ([0-9A-F]{2} ){15}[0-9A-F]{2}$";

enum class Board { Tavro, Pellan };

// One driver operation; its result, or 0 for an operation without one.
using Step = std::function<int(Controller &)>;

// Every critical line goes to the list as well as on to QTest's own handler.
QStringList *g_criticals = nullptr;
QtMessageHandler g_passOn = nullptr;

void recordCriticals(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg && g_criticals)
        g_criticals->append(message);
    g_passOn(type, context, message);
}

} // namespace

Q_DECLARE_METATYPE(Board)
Q_DECLARE_METATYPE(SimFault)
Q_DECLARE_METATYPE(Step)

class TestLineFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void garbledOrLateReply_data();
    void garbledOrLateReply();

private:
    void startBoard(Board board);
    std::unique_ptr<Controller> driverOn(Board board, const QString &port) const;
    // Expects exactly these critical lines (patterns), in this order, from
    // what runs until checkCriticals().
    void expectCriticals(const QStringList &patterns);
    void checkCriticals();
    // The line is quiet again: everything sent so far has been answered.
    void waitForQuietLine();
    int tavroZoomTarget()
    {
        return m_sim->withBoard<TavroBoard>(
            [](TavroBoard &board, qint64) { return board.target(TavroBoard::Axis::Zoom); });
    }
    int pellanTarget()
    {
        return m_sim->withBoard<PellanBoard>([](PellanBoard &board, qint64) { return board.target(); });
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<DriverSetup> m_setup;
    std::unique_ptr<BoardSimulator> m_sim;
    QStringList m_criticals;
    QStringList m_expected;
};

void TestLineFaults::initTestCase()
{
    // The Pellan driver reads and writes the preset store; keep the operator's own out of reach.
    QStandardPaths::setTestModeEnabled(true);
    // The traffic trace would bury what the tests are about.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
}

void TestLineFaults::init()
{
    m_folder = enterFreshFolder();
    QVERIFY(m_folder);
    m_criticals.clear();
    m_expected.clear();
    g_criticals = &m_criticals;
    g_passOn = qInstallMessageHandler(recordCriticals);
    m_setup = std::make_unique<DriverSetup>(kTavroLimits, kPellanLimits, kTimeScale);
}

void TestLineFaults::cleanup()
{
    m_sim.reset();
    m_setup.reset();
    qInstallMessageHandler(g_passOn);
    g_criticals = nullptr;
    QDir::setCurrent(QDir::tempPath());
    m_folder.reset();
}

void TestLineFaults::startBoard(Board board)
{
    if (board == Board::Tavro)
        m_sim = std::make_unique<BoardSimulator>(std::make_unique<TavroBoard>());
    else
        m_sim = std::make_unique<BoardSimulator>(std::make_unique<PellanBoard>());
    QVERIFY2(m_sim->isOpen(), qPrintable(m_sim->errorString()));
    m_sim->setTimeScale(kTimeScale);
    m_sim->setLateReplyDelay(kLateReplyMs);
}

std::unique_ptr<Controller> TestLineFaults::driverOn(Board board, const QString &port) const
{
    if (board == Board::Tavro)
        return std::make_unique<ControllerTavro>(port);
    return std::make_unique<ControllerUSM>(port);
}

void TestLineFaults::expectCriticals(const QStringList &patterns)
{
    m_criticals.clear();
    m_expected = patterns;
    for (const QString &pattern : patterns)
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(pattern));
}

void TestLineFaults::checkCriticals()
{
    const QString got = m_criticals.join(QLatin1Char('\n'));
    QVERIFY2(m_criticals.size() == m_expected.size(), qPrintable(got));
    for (int i = 0; i < m_expected.size(); ++i)
        QVERIFY2(QRegularExpression(m_expected.at(i)).match(m_criticals.at(i)).hasMatch(), qPrintable(got));
    m_criticals.clear();
    m_expected.clear();
}

void TestLineFaults::waitForQuietLine()
{
    QVERIFY(m_sim->waitForFrames(m_sim->frameCount(), 5000));
}

// The faulty reply answers one exchange; it or its remains are still on the
// line or in the port's buffer when the next one starts, and must not be
// taken for its reply.
void TestLineFaults::garbledOrLateReply_data()
{
    QTest::addColumn<Board>("board");
    QTest::addColumn<SimFault>("fault");
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("criticals");
    QTest::addColumn<qint64>("waitsMs"); // the step waits at least this for a reply
    QTest::addColumn<qint64>("limitMs"); // and gives up within this

    const Step maxZoom = [](Controller &c) { return c.getMaxZoomPosition(); };
    const Step zoomStop = [](Controller &c) { return c.pelco_d_zoom_stop(), 0; };
    const Step focus = [](Controller &c) { return c.getFocusPosition(); };
    const Step focusStop = [](Controller &c) { return c.pelco_d_focus_stop(), 0; };
    const qint64 tavroReply = kTavroLimits.replyMs;
    const qint64 pellanReply = kPellanLimits.replyMs;
    const auto row = [](const char *name, Board board, SimFault fault, const Step &step, int result,
                        const char *critical, qint64 waitsMs, qint64 limitMs) {
        QTest::newRow(name) << board << fault << step << result << QStringList{critical} << waitsMs << limitMs;
    };
    row("Tavro query, noise before the reply", Board::Tavro, SimFault::NoiseBeforeReply, maxZoom, -1, kUnexpected,
        0, tavroReply + kTavroLimits.extraReplyMs);
    row("Tavro command, noise before the reply", Board::Tavro, SimFault::NoiseBeforeReply, zoomStop, 0, kUnexpected,
        0, tavroReply);
    row("Tavro query, late reply", Board::Tavro, SimFault::LateReply, maxZoom, -1, kQueryTimeout, tavroReply,
        tavroReply);
    row("Tavro command, late reply", Board::Tavro, SimFault::LateReply, zoomStop, 0, kCommandTimeout, tavroReply,
        tavroReply);
    row("Pellan command, noise before the echo", Board::Pellan, SimFault::NoiseBeforeReply, focusStop, 0,
        kUnexpected, 0, pellanReply);
    row("Pellan query, noise before the reply", Board::Pellan, SimFault::NoiseBeforeReply, focus, -1, kStatusUnused,
        0, pellanReply);
    row("Pellan query, late reply", Board::Pellan, SimFault::LateReply, focus, -1, kQueryTimeout, pellanReply,
        pellanReply);
    row("Pellan command, late echo", Board::Pellan, SimFault::LateReply, focusStop, 0, kCommandTimeout, pellanReply,
        pellanReply);
}

void TestLineFaults::garbledOrLateReply()
{
    QFETCH(Board, board);
    QFETCH(SimFault, fault);
    QFETCH(Step, step);
    QFETCH(int, result);
    QFETCH(QStringList, criticals);
    QFETCH(qint64, waitsMs);
    QFETCH(qint64, limitMs);
    startBoard(board);
    const std::unique_ptr<Controller> driver = driverOn(board, m_sim->portName());

    m_sim->setFault(fault, 1);
    expectCriticals(criticals);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(step(*driver), result);
    const qint64 elapsed = timer.elapsed();
    checkCriticals();
    QVERIFY(!driver->takeOutcome().ok());
    QVERIFY2(elapsed >= waitsMs && elapsed < limitMs + kSlackMs, qPrintable(QString::number(elapsed)));

    // The faulty reply has now reached the closed port; the next exchange
    // gets its own reply, not that one.
    waitForQuietLine();
    if (board == Board::Tavro) {
        QCOMPARE(driver->getZoomPosition(), 3675);
        driver->setZoomPosition(1000);
        QCOMPARE(tavroZoomTarget(), 1000);
    } else {
        driver->setFocusPosition(3000); // a status query, then a move
        QCOMPARE(pellanTarget(), 30000);
    }
    QVERIFY(driver->takeOutcome().ok());
    QCOMPARE(m_setup->texts(), QStringList());
}

QTEST_MAIN(TestLineFaults)
#include "tst_linefaults.moc"
