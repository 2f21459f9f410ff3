#include "fakecontroller.h"

#include "boardcommissioning.h"
#include "operatorreport.h"
#include "portreport.h"

#include <QTest>

// The settings panel's board steps without a window: which board answers,
// the hint towards the other board type, and what Save sends.
class TestBoardCommissioning : public QObject
{
    Q_OBJECT

    static QString boardName(BoardType type)
    {
        return type == BoardType::Tavro ? QStringLiteral("Tavro Controller") : QStringLiteral("Pellan Focus Controller");
    }

private slots:
    void cleanup() { OperatorReport::setReporter(OperatorReport::Reporter()); }

    // Only a board that kept silent is asked again as the other type.
    void probe_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("tavroLens");
        QTest::addColumn<int>("pellanLens");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("probes"); // of the other board type
        const int tavro = int(BoardType::Tavro), pellan = int(BoardType::Pellan);
        QTest::newRow("Tavro answers") << tavro << 2 << 0 << "" << 0;
        QTest::newRow("Pellan answers") << pellan << 1 << 0 << "" << 0;
        QTest::newRow("Tavro silent, Pellan answers")
            << tavro << -1 << 0 << "A Pellan board answered on this port: choose the controller type 'Pellan Focus Controller'" << 1;
        QTest::newRow("Pellan silent, Tavro answers")
            << pellan << 1 << -1 << "A Tavro board answered on this port: choose the controller type 'Tavro Controller'" << 1;
        QTest::newRow("both silent") << tavro << -1 << -1 << "" << 1;
    }
    void probe()
    {
        QFETCH(int, type);
        const std::array<std::shared_ptr<FakeBoard>, 3> boards{nullptr, std::make_shared<FakeBoard>(), std::make_shared<FakeBoard>()};
        QFETCH(int, tavroLens);
        QFETCH(int, pellanLens);
        boards[1]->lensType = tavroLens;
        boards[2]->lensType = pellanLens;
        BoardCommissioning commissioning(boardName);
        commissioning.setControllerFactory([&boards](BoardType made, const QString &port) {
            return std::make_unique<FakeController>(port, boards[int(made)]);
        });
        const BoardCommissioning::Probe found = commissioning.probe(BoardType(type), QStringLiteral("FAKE1"));
        const int lensType = boards[type]->lensType;
        QCOMPARE(found.lensType, lensType);
        QCOMPARE(bool(found.driver), lensType != -1);
        QTEST(found.hint, "hint");
        QCOMPARE(boards[type]->calls, QStringList{"getLensType"});
        QTEST(int(boards[3 - type]->calls.size()), "probes");
    }

    // A port that cannot be opened is not asked again as the other board
    // type, which would only fail the same way; the probe says how it failed.
    void missingPort()
    {
        const BoardCommissioning::Probe found =
            BoardCommissioning(boardName).probe(BoardType::Tavro, QStringLiteral("/dev/tavro-no-such-port"));
        QVERIFY(!found.driver);
        QCOMPARE(found.hint, QString());
        QVERIFY(found.portFailure && found.portFailure->kind == Outcome::Kind::PortFailure);
        QCOMPARE(found.portFailure->reason, "No such file or directory");
    }

    // What the operator reads of a port that failed: text and details, or no
    // box at all.
    void portReports_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("outcome"); // "writing", "refused", "held by NAME PID", or the system's reason
        QTest::addColumn<bool>("query");
        QTest::addColumn<QString>("report"); // text | details, empty for no box
        const QString opening = "Could not open serial port: ttyS1\nCheck that the port is not used by another application. | ";
        const QString writing = "Could not write the frame to serial port: ttyS1\nCheck that the board is still connected. | ";
        const int failed = int(Outcome::Kind::PortFailure), busy = int(Outcome::Kind::Busy);
        QTest::newRow("missing") << failed << "No such file or directory" << false << opening + "No such file or directory";
        QTest::newRow("refused") << failed << "refused" << true
                                 << opening + "Permission denied\n\nOn Linux, serial devices are usually open to the members "
                                              "of the group dialout: add your user to it (sudo adduser $USER dialout), then log "
                                              "out and in again.";
        QTest::newRow("held") << busy << "held by lensd 42" << true << opening + "In use by another program: lensd, process ID 42";
        QTest::newRow("held, nameless") << busy << "held by - 42" << true << opening + "In use by another program: process ID 42";
        QTest::newRow("held, unknown") << busy << "held by - 0" << false << opening + "In use by another program";
        QTest::newRow("query frame lost") << failed << "writing" << true << writing + "Input/output error";
        QTest::newRow("command frame lost") << failed << "writing" << false << "";
        QTest::newRow("query frame late") << failed << "late" << true << "";
        QTest::newRow("no reply") << int(Outcome::Kind::NoReply) << "" << true << "";
    }
    void portReports()
    {
        QFETCH(int, kind);
        QFETCH(QString, outcome);
        QFETCH(bool, query);
        Outcome failure(Outcome::Kind(kind), outcome);
        if (outcome == "refused") {
            failure.reason = "Permission denied";
            failure.permission = true;
        } else if (outcome.startsWith("held by ")) {
            const QStringList holder = outcome.split(' ');
            failure.holder.name = holder.at(2) == "-" ? QString() : holder.at(2);
            failure.holder.pid = holder.at(3).toLongLong();
        } else if (outcome == "writing" || outcome == "late") {
            failure.whileWriting = true;
            failure.reason = outcome == "late" ? "Timeout waiting for bytes to be written" : "Input/output error";
        }
        const auto report = PortReport::of(failure, "ttyS1", query);
        QTEST(report ? report->text + " | " + report->detail : QString(), "report");
        QVERIFY(!report || report->severity == OperatorReport::Severity::Critical);
    }

    // Save's steps reach the board in this order, the sensitivity read back
    // after it is set, and the Tavro board's calibration wait announced and made.
    void configure_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("stallDetection");
        QTest::addColumn<bool>("longCable");
        QTest::addColumn<QString>("calls");
        const QString speeds = " [Configuring the board…] setZoomSpeed(1) setFocusSpeed(2)";
        QTest::newRow("Tavro, long cable") << int(BoardType::Tavro) << true << true
                                           << "setLensType(2) disableStallDetection(0) setSensitivityMode(1) getSensitivityMode "
                                              "[Calibrating…] calibrateAll pause(8000)" + speeds;
        QTest::newRow("Tavro, stall detection off") << int(BoardType::Tavro) << false << false
                                                    << "setLensType(2) disableStallDetection(1) setSensitivityMode(0) "
                                                       "getSensitivityMode [Calibrating…] calibrateAll pause(8000)" + speeds;
        QTest::newRow("Pellan") << int(BoardType::Pellan) << true << false
                                << "setLensType(2) disableStallDetection(0) setSensitivityMode(0) getSensitivityMode "
                                   "[Calibrating…] calibrateAll" + speeds;
    }
    void configure()
    {
        QFETCH(int, type);
        QFETCH(bool, stallDetection);
        QFETCH(bool, longCable);
        auto board = std::make_shared<FakeBoard>();
        FakeController driver(QStringLiteral("FAKE1"), board);
        Pause::setFunction([&board](unsigned long ms) { board->calls << QStringLiteral("pause(%1)").arg(ms); });
        const BoardCommissioning::Choices choices{BoardType(type), 2, stallDetection, longCable, 1, 2};
        BoardCommissioning::configure(driver, choices, [&board](const QString &step) { board->calls << "[" + step + "]"; });
        Pause::setFunction({});
        QTEST(board->calls.join(' '), "calls");
    }
};

QTEST_GUILESS_MAIN(TestBoardCommissioning)
#include "tst_boardcommissioning.moc"
