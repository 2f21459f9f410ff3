#ifndef FAKECONTROLLER_H
#define FAKECONTROLLER_H

#include "controller.h"
#include "pause.h"

#include <QByteArray>
#include <QStringList>
#include <QThread>

#include <memory>

// What a fake board answers, and the log of every driver call made on it. The
// window owns its drivers, so tests keep the board and look at it afterwards.
struct FakeBoard
{
    QStringList calls;
    int zoomPosition = 0;
    int focusPosition = 0;
    int irisPosition = 0;
    int maxZoom = 7350;
    int maxFocus = 4000;
    int maxIris = 5500;
    int lensType = 1;
    int sensitivityMode = 0;
    // Pauses of 8 s that calibrateAll() announces and makes, as the Pellan driver does.
    int calibrationPauses = 0;
    // Calls (by name) that the board does not acknowledge.
    QStringList rejected = {};
    // The port has gone: no call gets through.
    bool portGone = false;
    // How long each call takes, as a board on a line would.
    unsigned long callMs = 0;
    // A goto puts the motor at its position at once.
    bool gotosArrive = false;
};

// A driver that talks to no port: each call is logged as "name(arguments)", with
// char arguments as numbers, and queries answer from the board.
class FakeController : public Controller
{
public:
    FakeController(const QString &portName, std::shared_ptr<FakeBoard> board)
        : Controller(portName)
        , m_board(std::move(board))
    {
    }

    void setZoomPosition(int position) override { arrive(m_board->zoomPosition, position); log("setZoomPosition", position); }
    void setFocusPosition(int position) override { arrive(m_board->focusPosition, position); log("setFocusPosition", position); }
    void setIrisPosition(int position) override { arrive(m_board->irisPosition, position); log("setIrisPosition", position); }
    void pelco_d_zoom_in() override { log("pelco_d_zoom_in"); }
    void pelco_d_zoom_out() override { log("pelco_d_zoom_out"); }
    void pelco_d_zoom_stop() override { log("pelco_d_zoom_stop"); }
    void pelco_d_focus_near() override { log("pelco_d_focus_near"); }
    void pelco_d_focus_far() override { log("pelco_d_focus_far"); }
    void pelco_d_focus_stop() override { log("pelco_d_focus_stop"); }
    void pelco_d_iris_open() override { log("pelco_d_iris_open"); }
    void pelco_d_iris_close() override { log("pelco_d_iris_close"); }
    void pelco_d_iris_stop() override { log("pelco_d_iris_stop"); }
    void callPreset(char preset) override { log("callPreset", preset); }
    void storePreset(char preset) override { log("storePreset", preset); }
    void setFocusSpeed(char speed) override { log("setFocusSpeed", speed); }
    void setZoomSpeed(char speed) override { log("setZoomSpeed", speed); }
    void calibrateAll() override
    {
        log("calibrateAll");
        Pause::announce(m_board->calibrationPauses * 8000ul);
        for (int i = 0; i < m_board->calibrationPauses; ++i)
            Pause::wait(8000);
    }
    void setLensType(int lensType) override { log("setLensType", lensType); }
    int getLensType() override { return query("getLensType", m_board->lensType); }
    void initMotor() override { log("initMotor"); }
    int getZoomPosition() override { return query("getZoomPosition", m_board->zoomPosition); }
    int getFocusPosition() override { return query("getFocusPosition", m_board->focusPosition); }
    int getIrisPosition() override { return query("getIrisPosition", m_board->irisPosition); }
    void disableStallDetection(bool disable) override { log("disableStallDetection", disable); }
    void storeInDevice() override { log("storeInDevice"); }
    int getMaxZoomPosition() override { return query("getMaxZoomPosition", m_board->maxZoom); }
    int getMaxFocusPosition() override { return query("getMaxFocusPosition", m_board->maxFocus); }
    int getMaxIrisPosition() override { return query("getMaxIrisPosition", m_board->maxIris); }
    void setSensitivityMode(char mode) override { log("setSensitivityMode", mode); }
    int getSensitivityMode() override { return query("getSensitivityMode", m_board->sensitivityMode); }
    void callPresetAtSpeed(char preset, char speed) override
    {
        m_board->calls << QStringLiteral("callPresetAtSpeed(%1,%2)").arg(int(preset)).arg(int(speed));
    }

private:
    bool transmitData(QByteArray) override { return false; }
    bool transmitAndRecieve(QByteArray, QByteArray *, int) override { return false; }

    void arrive(int &motor, int position)
    {
        if (m_board->gotosArrive)
            motor = position;
    }
    void log(const char *name)
    {
        m_board->calls << QString::fromLatin1(name);
        judge(name);
    }
    void log(const char *name, int argument)
    {
        m_board->calls << QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(argument);
        judge(name);
    }
    void judge(const char *name)
    {
        if (m_board->callMs > 0)
            QThread::msleep(m_board->callMs);
        if (m_board->rejected.contains(QLatin1String(name)))
            noted(Outcome(Outcome::Kind::Rejected));
        if (m_board->portGone)
            noted(Outcome(Outcome::Kind::PortFailure, QStringLiteral("No such file or directory")));
    }
    int query(const char *name, int answer)
    {
        log(name);
        return answer;
    }

    std::shared_ptr<FakeBoard> m_board;
};

#endif // FAKECONTROLLER_H
