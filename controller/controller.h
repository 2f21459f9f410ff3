#ifndef CONTROLLER_H
#define CONTROLLER_H

#include "outcome.h"

#include <QObject>
#include <QString>

#include <utility>

class QByteArray;
class QSerialPortInfo;

// The lens controller board driver as the window sees it. Every operation is
// synchronous: it runs its serial exchange(s) on the caller's thread. Between
// calls a driver keeps its port open only while no other program waits for
// it, and for a short idle time (PortKeeper): the time an open costs is the
// line's, and a fast reader needs it. The port closes when the driver goes.
//
// Value conventions: positions are absolute ints in the driver's units from 0 to
// the matching maximum query; a query returns -1 when the board does not answer
// or answers in the wrong form, and 0 when the board has no such motor. The char
// parameters carry small numbers, not characters: presets 1..10, speed levels
// 0 (Low), 1 (Medium), 2 (High), sensitivity mode 0 or 1.
class Controller : public QObject
{
    Q_OBJECT

public:
    // The port is identified by the name QSerialPort opens (COM3, ttyUSB0 or a
    // device path), so ports the system does not enumerate can be served too.
    explicit Controller(const QString &portName);
    explicit Controller(const QSerialPortInfo &portInfo);
    ~Controller() override;

    virtual void setZoomPosition(int position) = 0;
    virtual void setFocusPosition(int position) = 0;
    virtual void setIrisPosition(int position) = 0;
    virtual void pelco_d_zoom_in() = 0;
    virtual void pelco_d_zoom_out() = 0;
    virtual void pelco_d_zoom_stop() = 0;
    virtual void pelco_d_focus_near() = 0;
    virtual void pelco_d_focus_far() = 0;
    virtual void pelco_d_focus_stop() = 0;
    virtual void pelco_d_iris_open() = 0;
    virtual void pelco_d_iris_close() = 0;
    virtual void pelco_d_iris_stop() = 0;
    virtual void callPreset(char preset) = 0;
    virtual void storePreset(char preset) = 0;
    virtual void setFocusSpeed(char speed) = 0;
    virtual void setZoomSpeed(char speed) = 0;
    virtual void calibrateAll() = 0;
    virtual void setLensType(int lensType) = 0;
    virtual int getLensType() = 0;
    virtual void initMotor() = 0;
    virtual int getZoomPosition() = 0;
    virtual int getFocusPosition() = 0;
    virtual int getIrisPosition() = 0;
    virtual void disableStallDetection(bool disable) = 0;
    virtual void storeInDevice() = 0;
    virtual int getMaxZoomPosition() = 0;
    virtual int getMaxFocusPosition() = 0;
    virtual int getMaxIrisPosition() = 0;
    virtual void setSensitivityMode(char sensitivityMode) = 0;
    virtual int getSensitivityMode() = 0;

    // Moves to preset (1..10) at a speed level of its own (0 Low, 1 Medium,
    // 2 High) rather than at the speeds last chosen for the board. Boards that
    // take speeds as settings keep the preset's level afterwards: whoever
    // chose other speeds gives them again before a run or move needs them.
    virtual void callPresetAtSpeed(char preset, char speed) = 0;

    QString portName() const { return m_portName; }

    // How the operations since the last call went: the first exchange that
    // failed (a port that would not open or was busy, a frame not written, a
    // reply missing, rejected or in the wrong form, and on boards that keep
    // settings on the computer a store that could not be written), or Ok.
    // The operations themselves report nothing to their caller; one that
    // needs to know whether they went through takes their outcome.
    Outcome takeOutcome() { return std::exchange(m_outcome, Outcome()); }

protected:
    // Every exchange's result passes through here on its way out; returns
    // whether it went through.
    bool noted(const Outcome &outcome)
    {
        if (!outcome.ok() && m_outcome.ok())
            m_outcome = outcome;
        return outcome.ok();
    }

private:
    // One command frame; true when the board acknowledged it.
    virtual bool transmitData(QByteArray data) = 0;
    // One query frame; on success *response holds the reply's data bytes.
    virtual bool transmitAndRecieve(QByteArray data, QByteArray *response, int nofBytes) = 0;

    QString m_portName;
    Outcome m_outcome;
};

#endif // CONTROLLER_H
