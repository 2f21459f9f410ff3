#include "fakecontroller.h"

#include "boardcommissioning.h"
#include "operatorreport.h"

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

    // A port that cannot be opened is reported once, as the driver does, and
    // not asked again as the other board type, which would only fail the same way.
    void missingPort()
    {
        QStringList reports;
        OperatorReport::setReporter(
            OperatorReport::BriefReporter([&reports](OperatorReport::Severity, const QString &text) { reports << text; }));
        const BoardCommissioning::Probe found =
            BoardCommissioning(boardName).probe(BoardType::Tavro, QStringLiteral("/dev/tavro-no-such-port"));
        QVERIFY(!found.driver);
        QCOMPARE(found.hint, QString());
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports.first().startsWith("Could not open serial port: "), qPrintable(reports.first()));
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
