#ifndef LENS_H
#define LENS_H

// The Pellan driver's bookkeeping of the focus motor, in raw board steps. A new
// record holds zeros; the driver fills in the lens's defaults and calibration
// updates the travel and the near end.
class Lens
{
public:
    int getMaxSteps() const { return m_maxSteps; }
    void setMaxSteps(int maxSteps) { m_maxSteps = maxSteps; }

    int getCurrentPosition() const { return m_currentPosition; }
    void setCurrentPosition(int currentPosition) { m_currentPosition = currentPosition; }

    int getPositionOffset() const { return m_positionOffset; }
    void setPositionOffset(int positionOffset) { m_positionOffset = positionOffset; }

    int getSpeed() const { return m_speed; }
    void setSpeed(int speed) { m_speed = speed; }

    int getResolution() const { return m_resolution; }
    void setResolution(int resolution) { m_resolution = resolution; }

private:
    // Usable travel from the near end.
    int m_maxSteps = 0;
    // Last raw position read from the board.
    int m_currentPosition = 0;
    // Raw position of the near end, which is focus position 0.
    int m_positionOffset = 0;
    int m_speed = 0;
    int m_resolution = 0;
};

#endif // LENS_H
