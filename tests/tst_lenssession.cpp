// The lens session's rules, as every front end meets them: what goes to the
// board, in which order, for requests that come faster than the board takes
// them, for held runs and their ends, and at shutdown.

#include "fakecontroller.h"
#include "lensmotor.h"
#include "lensprofile.h"
#include "lenssession.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

namespace {

const LensMotor &motorNamed(const QString &name)
{
    return *LensMotor::named(name);
}

std::unique_ptr<LensSession> sessionOn(BoardType type, const std::shared_ptr<FakeBoard> &board, bool ownThread)
{
    return std::make_unique<LensSession>(
        type, QStringLiteral("ttyFAKE"),
        ownThread ? LensSession::Threading::OwnThread : LensSession::Threading::CallersThread,
        [board](BoardType, const QString &port) { return std::make_unique<FakeController>(port, board); });
}

} // namespace

class TestLensSession : public QObject
{
    Q_OBJECT

private slots:
    void rules_data();
    void rules();
    void failures_data();
    void failures();
    void ownThreadNeverBlocks();
    void approachStandingShort();

private:
    // Carries out a script of steps, one a word group separated by ';':
    //   goto M N | step M N | run M D [hold MS] [by K] [speed S] | stop M |
    //   release M K | releaseAll | call N [speed S] | store N | refresh |
    //   calibrate | shutdown | idle (until nothing waits or is under way) |
    //   wait MS | holder M K (K holds M's run now; "-": none does) |
    //   tool goto M N (an exact goto, carried out at once as the tool does)
    // Requests between two waits are handed over before the session has
    // carried out the first of them, as if they came while the board was busy.
    void play(LensSession &session, const QString &script, QStringList *results = nullptr);
};

void TestLensSession::play(LensSession &session, const QString &script, QStringList *results)
{
    static const int holders[3] = {1, 2, 3};
    const auto record = [results](const QString &what) {
        return [results, what](const SessionResult &result) {
            if (results)
                *results << what + QLatin1Char('=') + QString::number(int(result.kind));
        };
    };
    for (const QString &step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QStringList w = step.simplified().split(QLatin1Char(' '));
        const bool now = w.first() == QLatin1String("tool");
        if (now)
            w.removeFirst();
        const QString &verb = w.first();
        SessionRequest request;
        if (w.size() > 1 && LensMotor::named(w.at(1)))
            request.motor = LensMotor::named(w.at(1));
        if (verb == QLatin1String("idle")) {
            QTRY_VERIFY_WITH_TIMEOUT(!session.isWorking(), 5000);
            continue;
        }
        if (verb == QLatin1String("wait")) {
            QTest::qWait(w.at(1).toInt());
            continue;
        }
        if (verb == QLatin1String("release")) {
            session.release(*request.motor, &holders[w.at(2).toInt()]);
            continue;
        }
        if (verb == QLatin1String("holder")) {
            const void *expected = w.at(2) == QLatin1String("-") ? nullptr : &holders[w.at(2).toInt()];
            QCOMPARE(session.holder(*request.motor), expected);
            continue;
        }
        if (verb == QLatin1String("releaseAll")) {
            session.releaseAll();
            continue;
        }
        if (verb == QLatin1String("shutdown")) {
            session.shutdown();
            continue;
        }
        if (verb == QLatin1String("goto") || verb == QLatin1String("step")) {
            request.kind = verb == QLatin1String("goto") ? SessionRequest::Kind::Goto : SessionRequest::Kind::Step;
            request.value = w.at(2).toInt();
            if (w.size() == 5 && w.at(3) == QLatin1String("in"))
                request.seconds = w.at(4).toDouble();
        } else if (verb == QLatin1String("run")) {
            request.kind = SessionRequest::Kind::Run;
            request.direction = w.at(2) == QLatin1String(request.motor->directions[1]);
            for (int i = 3; i + 1 < w.size(); i += 2) {
                if (w.at(i) == QLatin1String("hold"))
                    request.holdMs = w.at(i + 1).toInt();
                else if (w.at(i) == QLatin1String("by"))
                    request.holder = &holders[w.at(i + 1).toInt()];
                else if (w.at(i) == QLatin1String("speed"))
                    request.speed = w.at(i + 1).toInt();
            }
        } else if (verb == QLatin1String("stop")) {
            request.kind = SessionRequest::Kind::Stop;
        } else if (verb == QLatin1String("call") || verb == QLatin1String("store")) {
            request.kind = verb == QLatin1String("call") ? SessionRequest::Kind::PresetCall
                                                          : SessionRequest::Kind::PresetStore;
            request.value = w.at(1).toInt();
            if (w.size() == 4)
                request.speed = w.at(3).toInt();
        } else if (verb == QLatin1String("refresh") || verb == QLatin1String("read")) {
            request.kind = verb == QLatin1String("read") ? SessionRequest::Kind::Read : SessionRequest::Kind::Refresh;
        } else if (verb == QLatin1String("calibrate")) {
            request.kind = SessionRequest::Kind::Calibrate;
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
        if (now) {
            request.exact = true;
            session.runNow(request);
            continue;
        }
        session.submit(request, record(step.simplified()));
    }
}

// Each script starts on a session that has read the board once (zoom at
// 3000 of 7350, focus at 0 of 4000, iris at 0 of 5500), with those calls
// cleared. The board takes 30 ms a call where the driver has its own thread;
// live reads are off unless the row says.
void TestLensSession::rules_data()
{
    QTest::addColumn<bool>("ownThread");
    QTest::addColumn<bool>("live");
    QTest::addColumn<bool>("profiled");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("calls");

    const auto row = [](const char *name, bool ownThread, const char *script, const char *calls, bool live = false,
                        bool profiled = false) {
        QTest::newRow(name) << ownThread << live << profiled << QString::fromLatin1(script) << QString::fromLatin1(calls);
    };
    // With the lens's profile: the focus held to 300..3800 with a backlash
    // of 40, standing at 2000; the board's gotos arrive at once.
    const auto lensRow = [&row](const char *name, const char *script, const char *calls) {
        row(name, false, script, calls, false, true);
    };
    lensRow("a goto beyond a soft limit is not sent", "goto focus 3900; goto focus 200; idle", "");
    lensRow("a step ends at the soft limit", "step focus 5000; idle", "setFocusPosition(3800) getFocusPosition");
    lensRow("a run towards a soft limit is a goto to it, at the run's speed",
            "run focus far speed 1; idle; stop focus; idle",
            "setFocusSpeed(1) setFocusPosition(3800) pelco_d_focus_stop getFocusPosition");
    lensRow("a run from the limit away from it", "step focus -5000; idle; run focus near; idle",
            "setFocusPosition(300) getFocusPosition");
    // The last leg is read until the motor stands there, live reads or not.
    lensRow("a goto from above comes to its target from beneath", "goto focus 1000; wait 600; idle",
            "getFocusPosition setFocusPosition(960) getFocusPosition getFocusPosition setFocusPosition(1000) getFocusPosition "
            "getFocusPosition getFocusPosition");
    lensRow("the approach goes no lower than the soft limit", "goto focus 320; wait 600; idle",
            "getFocusPosition setFocusPosition(300) getFocusPosition getFocusPosition setFocusPosition(320) getFocusPosition "
            "getFocusPosition getFocusPosition");
    lensRow("a step down is a nudge, not a target: no approach", "step focus -500; wait 400; idle",
            "setFocusPosition(1500) getFocusPosition");
    lensRow("a goto from below goes straight", "goto focus 2500; wait 400; idle",
            "getFocusPosition setFocusPosition(2500) getFocusPosition");
    lensRow("a newer goto ends the approach", "goto focus 1000; wait 50; goto focus 3000; wait 500; idle",
            "getFocusPosition setFocusPosition(960) getFocusPosition getFocusPosition setFocusPosition(3000) getFocusPosition");
    lensRow("a stop ends the approach", "goto focus 1000; wait 50; stop focus; wait 500; idle",
            "getFocusPosition setFocusPosition(960) getFocusPosition pelco_d_focus_stop getFocusPosition");
    lensRow("a timed goto reads where the motors are, sets off slowly and sets the speed back on arrival",
            "goto focus 3000 in 2; idle",
            "getZoomPosition getMaxZoomPosition getFocusPosition getMaxFocusPosition getIrisPosition getMaxIrisPosition "
            "setFocusSpeed(0) setFocusPosition(3000) getFocusPosition setFocusSpeed(1)");
    lensRow("a timed goto without measured speeds does not move", "goto zoom 5000 in 2; idle", "");
    lensRow("the tool's goto from above takes up the backlash before it ends", "tool goto focus 1000",
            "getFocusPosition setFocusPosition(960) getFocusPosition setFocusPosition(1000) getFocusPosition "
            "getFocusPosition getFocusPosition");
    // A key or stick that asks again while its run is on its way must not
    // take it for ended, nor for its own once it has let go.
    row("a run on its way is held, a motor to stop is not", false,
        "run zoom tele by 1; holder zoom 1; idle; release zoom 1; holder zoom -; run zoom wide by 1; holder zoom 1; "
        "idle; release zoom 1; idle", "pelco_d_zoom_in pelco_d_zoom_out pelco_d_zoom_stop getZoomPosition");
    row("a run asked for again before its stop has gone out runs", false,
        "run zoom tele by 1; idle; release zoom 1; run zoom tele by 1; idle", "pelco_d_zoom_in pelco_d_zoom_in");
    row("a stop goes ahead of the moves waiting", true, "goto zoom 1000; goto focus 500; stop iris; idle",
        "pelco_d_iris_stop getIrisPosition setZoomPosition(1000) getZoomPosition setFocusPosition(500) "
        "getFocusPosition");
    row("the newest goto of a waiting motor takes its place", false,
        "goto zoom 1000; goto focus 500; goto zoom 2000; idle",
        "setZoomPosition(2000) getZoomPosition setFocusPosition(500) getFocusPosition");
    row("a stop takes away the waiting moves of its motor", false, "goto zoom 1000; run zoom tele; stop zoom; idle",
        "pelco_d_zoom_stop getZoomPosition");
    row("a repeat holds the run on and sends nothing", false,
        "run zoom tele hold 400; wait 300; run zoom tele hold 400; wait 250; stop zoom; idle",
        "pelco_d_zoom_in pelco_d_zoom_stop getZoomPosition");
    row("the other direction is a new run, not a repeat", false,
        "run zoom tele hold 1000; idle; run zoom wide hold 1000; idle; stop zoom; idle",
        "pelco_d_zoom_in pelco_d_zoom_out pelco_d_zoom_stop getZoomPosition");
    row("another speed is a new run, at that speed", false,
        "run focus far hold 1000 speed 0; idle; run focus far hold 1000 speed 2; idle; stop focus; idle",
        "setFocusSpeed(0) pelco_d_focus_far setFocusSpeed(2) pelco_d_focus_far pelco_d_focus_stop getFocusPosition");
    row("a hold's end stops the motor and reads it back", true, "run iris open hold 200; wait 600; idle",
        "pelco_d_iris_open pelco_d_iris_stop getIrisPosition");
    row("a run is held for its own hold", false, "run zoom wide hold 1500; wait 1000", "pelco_d_zoom_out");
    row("a held run goes on until its holder lets go", false,
        "run focus near by 1; wait 700; release focus 2; idle; release focus 1; idle",
        "pelco_d_focus_near pelco_d_focus_stop getFocusPosition");
    row("a release while its run waits: the run never goes out", true,
        "goto focus 500; run zoom tele by 1; release zoom 1; idle", "setFocusPosition(500) getFocusPosition");
    row("a release while its run goes out stops it after", true, "run zoom tele by 1; wait 10; release zoom 1; idle",
        "pelco_d_zoom_in pelco_d_zoom_stop getZoomPosition");
    row("losing the window's activation ends every held run, not the others", false,
        "run zoom tele by 1; run iris close; run focus far by 2; idle; releaseAll; idle",
        "pelco_d_zoom_in pelco_d_iris_close pelco_d_focus_far pelco_d_zoom_stop getZoomPosition pelco_d_focus_stop "
        "getFocusPosition");
    row("losing the activation ends a run held and one waiting by another holder", false,
        "run zoom tele by 1; idle; goto focus 500; run zoom wide by 2; releaseAll; idle",
        "pelco_d_zoom_in pelco_d_zoom_stop getZoomPosition setFocusPosition(500) getFocusPosition");
    row("a read asks for its motor's position alone", true, "read iris; idle", "getIrisPosition");
    row("a preset called at low speed goes at low, and is read back", false, "call 3 speed 0; idle",
        "callPresetAtSpeed(3,0) getZoomPosition getMaxZoomPosition getFocusPosition getMaxFocusPosition "
        "getIrisPosition getMaxIrisPosition");
    row("a step goes from where the motor was read, held to the range", false,
        "step zoom 100; idle; step zoom 8000; idle; step zoom -4000; idle",
        "setZoomPosition(3100) getZoomPosition setZoomPosition(7350) getZoomPosition setZoomPosition(0) "
        "getZoomPosition");
    row("shutdown stops every motor running, and only those", true,
        "run zoom tele; run focus far hold 2000; idle; shutdown; idle",
        "pelco_d_zoom_in pelco_d_focus_far pelco_d_zoom_stop getZoomPosition pelco_d_focus_stop getFocusPosition");
    row("a motor sent to a position is read until it stands", false, "goto zoom 1000; idle; wait 500",
        "setZoomPosition(1000) getZoomPosition getZoomPosition getZoomPosition", true);
}

void TestLensSession::rules()
{
    QFETCH(bool, ownThread);
    QFETCH(bool, live);
    QFETCH(bool, profiled);
    QFETCH(QString, script);
    QFETCH(QString, calls);
    auto board = std::make_shared<FakeBoard>();
    board->zoomPosition = 3000;
    const std::unique_ptr<LensSession> session = sessionOn(BoardType::Tavro, board, ownThread);
    session->setLiveReads(live);
    if (profiled) {
        const LensProfile::Read read = LensProfile::parse(
            R"({"name": "t", "limits": {"focus": [300, 3800]}, "backlash": {"focus": 40}, "speeds": {"focus": [300, 1200, 4000]}})", QStringLiteral("t.json"));
        session->setProfile(std::make_shared<const LensProfile>(*read.profile));
        board->focusPosition = 2000;
        board->gotosArrive = true;
    }
    play(*session, QStringLiteral("refresh; idle"));
    board->callMs = ownThread ? 30 : 0;
    board->calls.clear();
    play(*session, script);
    QCOMPARE(board->calls.join(QLatin1Char(' ')), calls);
}

// What a front end hears when the board does not take a request, and what
// the session does about the motor.
void TestLensSession::failures_data()
{
    QTest::addColumn<bool>("pellan");
    QTest::addColumn<QString>("rejected");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("calls");
    QTest::addColumn<QString>("results");

    const QString failed = QString::number(int(SessionResult::Kind::Failed));
    QTest::newRow("a run not taken does not run")
        << false << "pelco_d_zoom_in" << "run zoom tele hold 200; idle; wait 400" << "pelco_d_zoom_in"
        << "run zoom tele hold 200=" + failed;
    QTest::newRow("a speed not taken sends no run")
        << false << "setZoomSpeed" << "run zoom tele speed 1; idle" << "setZoomSpeed(1)"
        << "run zoom tele speed 1=" + failed;
    QTest::newRow("a held motor whose stop is not taken is stopped again until shutdown")
        << false << "pelco_d_focus_stop" << "run focus far by 1; idle; release focus 1; wait 700; shutdown; idle"
        << "pelco_d_focus_far pelco_d_focus_stop pelco_d_focus_stop pelco_d_focus_stop"
        << "run focus far by 1=" + QString::number(int(SessionResult::Kind::Done));
    QTest::newRow("a goto beyond the range is not sent")
        << false << "" << "goto iris 6000; idle" << ""
        << "goto iris 6000=" + QString::number(int(SessionResult::Kind::OutOfRange));
    QTest::newRow("a Pellan preset not kept is not written out")
        << true << "storePreset" << "store 4; idle" << "storePreset(4)" << "store 4=" + failed;
    QTest::newRow("a Pellan preset kept is written out at once")
        << true << "" << "store 4; idle" << "storePreset(4) storeInDevice getFocusPosition"
        << "store 4=" + QString::number(int(SessionResult::Kind::Done));
}

void TestLensSession::failures()
{
    QFETCH(bool, pellan);
    QFETCH(QString, rejected);
    QFETCH(QString, script);
    QFETCH(QString, calls);
    QFETCH(QString, results);
    auto board = std::make_shared<FakeBoard>();
    const std::unique_ptr<LensSession> session = sessionOn(pellan ? BoardType::Pellan : BoardType::Tavro, board, false);
    session->setLiveReads(false);
    play(*session, QStringLiteral("refresh; idle"));
    board->calls.clear();
    board->rejected = rejected.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList heard;
    play(*session, script, &heard);
    QCOMPARE(board->calls.join(QLatin1Char(' ')), calls);
    QCOMPARE(heard.join(QLatin1Char(' ')), results);
}

// On its own thread the driver may take as long as it likes: the session's
// thread goes on at once, and hears how it went when it has.
void TestLensSession::ownThreadNeverBlocks()
{
    auto board = std::make_shared<FakeBoard>();
    board->calibrationPauses = 1;
    const Pause::Function previous = Pause::setFunction([](unsigned long) { QThread::msleep(300); });
    {
        const std::unique_ptr<LensSession> session = sessionOn(BoardType::Tavro, board, true);
        QElapsedTimer clock;
        clock.start();
        bool heard = false;
        SessionRequest calibrate;
        calibrate.kind = SessionRequest::Kind::Calibrate;
        session->submit(calibrate, [&heard](const SessionResult &result) { heard = result.done(); });
        // The thread's own events go on while the board is busy.
        bool tickedMeanwhile = false;
        QTimer::singleShot(100, [&] { tickedMeanwhile = !heard; });
        QTRY_VERIFY_WITH_TIMEOUT(heard, 5000);
        QVERIFY(tickedMeanwhile);
        QVERIFY(clock.elapsed() >= 600);
        QCOMPARE(session->maximum(motorNamed("zoom")), 7350);
    }
    Pause::setFunction(previous);
}

// A motor that cannot get beneath its target (an end stop, a jam) is sent on
// once two reads find it standing, not before.
void TestLensSession::approachStandingShort()
{
    auto board = std::make_shared<FakeBoard>();
    board->focusPosition = 2000;
    const std::unique_ptr<LensSession> session = sessionOn(BoardType::Tavro, board, false);
    session->setLiveReads(false);
    session->setProfile(std::make_shared<const LensProfile>(
        *LensProfile::parse(R"({"name": "t", "backlash": {"focus": 40}})", QStringLiteral("t.json")).profile));
    play(*session, QStringLiteral("refresh; idle"));
    board->calls.clear();
    play(*session, QStringLiteral("goto focus 1000"));
    QTRY_COMPARE(board->calls.join(QLatin1Char(' ')), "getFocusPosition setFocusPosition(960) getFocusPosition getFocusPosition");
    QTRY_COMPARE(board->calls.join(QLatin1Char(' ')), "getFocusPosition setFocusPosition(960) getFocusPosition getFocusPosition "
                                                      "getFocusPosition setFocusPosition(1000) getFocusPosition");
}

QTEST_MAIN(TestLensSession)
#include "tst_lenssession.moc"
