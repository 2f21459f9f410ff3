// The traffic window and its model, offscreen, fed records as the
// transactions publish them.

#include "exchangelog.h"
#include "pellanframes.h"
#include "tavroframes.h"
#include "trafficmodel.h"
#include "trafficwindow.h"

#include <QClipboard>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

namespace {

const QDateTime base = QDateTime::fromString(QStringLiteral("2026-05-04T10:15:02.000"), Qt::ISODateWithMs);

// The zoom sent to position n at base + n ms.
ExchangeRecord zoomTo(int n, ExchangeRecord::Outcome outcome = ExchangeRecord::Outcome::Ok)
{
    ExchangeRecord record;
    record.start = base.addMSecs(n);
    record.port = QStringLiteral("ttyUSB0");
    record.frame = TavroFrames::position(TavroFrames::SetZoomPosition, n);
    if (outcome == ExchangeRecord::Outcome::Ok || outcome == ExchangeRecord::Outcome::Rejected)
        record.reply = QByteArray(1, outcome == ExchangeRecord::Outcome::Ok ? '\x00' : '\x01');
    record.outcome = outcome;
    record.roundTripMs = 8.25;
    return record;
}

ExchangeRecord pellanStatus()
{
    ExchangeRecord record = zoomTo(7);
    record.board = BoardType::Pellan;
    record.frame = PellanFrames::sealed(PellanFrames::statusQuery());
    record.reply = PellanFrames::sealed(QByteArray::fromHex("016500ff00000000000003ed0000"));
    return record;
}

} // namespace

class TestTrafficWindow : public QObject
{
    Q_OBJECT

private slots:
    void modelKeepsTheNewest();
    void windowListsWhatItHearsWhileOpen();
    void newestStaysInSight_data();
    void newestStaysInSight();
};

void TestTrafficWindow::modelKeepsTheNewest()
{
    TrafficModel model;
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    for (int first : {0, 6000}) {
        QList<ExchangeRecord> batch;
        for (int n = first; n < first + 6000 && n < 10005; ++n)
            batch << zoomTo(n, n % 1000 == 999 ? ExchangeRecord::Outcome::Rejected : ExchangeRecord::Outcome::Ok);
        model.append(batch);
    }
    QCOMPARE(model.rowCount(), 10000);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(model.record(0).frame, zoomTo(5).frame);
    QCOMPARE(model.rowTexts(model.rowCount() - 1),
             QStringList({"2026-05-04 10:15:12.004", "Tavro", "FE 04 00 00 27 14 00", "set zoom position 10004", "00",
                          "OK", "OK", "8.3"}));
    QCOMPARE(model.data(model.index(0, TrafficModel::Time)).toString(), QStringLiteral("10:15:02.005"));

    // A failed exchange stands out by colour, in grey as well, and by weight.
    const QModelIndex failed = model.index(999 - 5, TrafficModel::Outcome);
    QCOMPARE(model.data(failed).toString(), QStringLiteral("rejected"));
    QCOMPARE(model.data(failed.siblingAtColumn(TrafficModel::ReceivedMeaning)).toString(),
             QStringLiteral("rejected (status 01)"));
    QVERIFY(qGray(model.data(failed, Qt::BackgroundRole).value<QColor>().rgb()) < 80);
    QCOMPARE(qGray(model.data(failed, Qt::ForegroundRole).value<QColor>().rgb()), 255);
    QVERIFY(model.data(failed, Qt::FontRole).value<QFont>().bold());
    QVERIFY(!model.data(failed.siblingAtRow(0), Qt::BackgroundRole).isValid());
}

void TestTrafficWindow::windowListsWhatItHearsWhileOpen()
{
    QTemporaryDir folder;
    TrafficWindow window;
    QString chosen;
    window.setFileChooser([&chosen](QWidget *, std::function<void(const QString &)> done) { done(chosen); });
    const auto click = [&window](const char *name) { window.findChild<QPushButton *>(name)->click(); };
    const auto rows = [&window] { return window.model()->rowCount(); };

    // Closed, it listens to nothing; open, it shows what it hears in batches.
    QVERIFY(!ExchangeLog::hasSubscribers());
    window.open();
    QVERIFY(ExchangeLog::hasSubscribers());
    ExchangeLog::publish(zoomTo(1));
    ExchangeLog::publish(pellanStatus());
    QCOMPARE(rows(), 0);
    QTRY_COMPARE(rows(), 2);

    // Paused, records are kept but not shown until it resumes.
    click("pb_pause");
    ExchangeLog::publish(zoomTo(3, ExchangeRecord::Outcome::NoReply));
    QTest::qWait(3 * TrafficWindow::batchMs);
    QCOMPARE(rows(), 2);
    click("pb_pause");
    QCOMPARE(rows(), 3);

    // Copy: the selected rows, tab-separated, top to bottom.
    QTableView *view = window.findChild<QTableView *>();
    view->selectionModel()->select(window.model()->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->selectionModel()->select(window.model()->index(1, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    click("pb_copy");
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("2026-05-04 10:15:02.007\tPellan\t01 65 00 00 00 00 00 00 00 00 00 00 00 00 26 65\t"
                            "status query\t01 65 00 FF 00 00 00 00 00 00 03 ED 00 00 85 03\t"
                            "position 1005, running\tOK\t8.3\n"
                            "2026-05-04 10:15:02.003\tTavro\tFE 04 00 00 00 03 00\tset zoom position 3\t\t\t"
                            "no reply\t8.3\n"));

    // Save: CSV with a header row; a field with a comma is quoted.
    chosen = folder.filePath(QStringLiteral("traffic.csv"));
    click("pb_save");
    QFile saved(chosen);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll().split('\n').mid(0, 3),
             QByteArrayList({"Time,Board,Sent,Meaning,Received,Meaning,Outcome,ms\r",
                             "2026-05-04 10:15:02.001,Tavro,FE 04 00 00 00 01 00,set zoom position 1,00,OK,OK,8.3\r",
                             "2026-05-04 10:15:02.007,Pellan,01 65 00 00 00 00 00 00 00 00 00 00 00 00 26 65,"
                             "status query,01 65 00 FF 00 00 00 00 00 00 03 ED 00 00 85 03,"
                             "\"position 1005, running\",OK,8.3\r"}));
    QVERIFY(window.findChild<QLabel *>("lbl_status")->text().startsWith(QLatin1String("3 rows saved")));
    chosen = folder.filePath(QStringLiteral("missing/traffic.csv"));
    click("pb_save");
    QVERIFY(window.findChild<QLabel *>("lbl_status")->text().startsWith(QLatin1String("Could not save")));

    // Clear takes what was kept while paused as well.
    click("pb_pause");
    ExchangeLog::publish(zoomTo(4));
    click("pb_clear");
    click("pb_pause");
    QCOMPARE(rows(), 0);
    // Closed, it keeps nothing: what came meanwhile is not shown on opening.
    ExchangeLog::publish(zoomTo(4));
    window.close();
    QVERIFY(!ExchangeLog::hasSubscribers());
    ExchangeLog::publish(zoomTo(5));
    window.open();
    QTest::qWait(3 * TrafficWindow::batchMs);
    QCOMPARE(rows(), 0);
}

// Steps: a number publishes that many exchanges and lets the window show them;
// "WxH" resizes the window; "up" and "down" turn the wheel over the list, by one
// notch and past its end; "pause" is a Save's wait with nothing new.
void TestTrafficWindow::newestStaysInSight_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("follows");
    QTest::newRow("one at a time past a screenful") << "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1" << true;
    QTest::newRow("Save, six Refreshes and a rejected one") << "17 pause 3 3 3 3 3 3 1" << true;
    QTest::newRow("a screenful at once, then one") << "40 1" << true;
    QTest::newRow("smaller, then larger window") << "12 800x250 2 1100x600 3 600x200 1" << true;
    QTest::newRow("wider than the columns") << "1200x300 14 2 700x300 1" << true;
    QTest::newRow("scrolled up stays put") << "30 up 5 pause 1" << false;
    QTest::newRow("scrolled back to the end follows") << "30 up 5 down 4 1" << true;
}

void TestTrafficWindow::newestStaysInSight()
{
    QFETCH(QString, steps);
    QFETCH(bool, follows);
    TrafficWindow window;
    window.open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *view = window.findChild<QTableView *>();
    int published = 0;
    int topRow = -1;
    for (const QString &step : steps.split(QLatin1Char(' '))) {
        const QPoint at = view->viewport()->rect().center();
        if (step == QLatin1String("up") || step == QLatin1String("down")) {
            QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), {}, {0, step == "up" ? 120 : -12000},
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(view->viewport(), &wheel);
            topRow = view->rowAt(0);
        } else if (step.contains(QLatin1Char('x'))) {
            window.resize(step.section(QLatin1Char('x'), 0, 0).toInt(), step.section(QLatin1Char('x'), 1).toInt());
        } else {
            for (int n = step.toInt(); n > 0; --n)
                ExchangeLog::publish(zoomTo(published++));
            QTRY_COMPARE(window.model()->rowCount(), published);
        }
        QTest::qWait(TrafficWindow::batchMs); // the layout follows in the next turns of the event loop
    }
    const QRect newest = view->visualRect(window.model()->index(published - 1, 0));
    QCOMPARE(newest.top() >= 0 && newest.bottom() < view->viewport()->height(), follows);
    if (!follows)
        QCOMPARE(view->rowAt(0), topRow);
}

QTEST_MAIN(TestTrafficWindow)
#include "tst_trafficwindow.moc"
