#ifndef REMOTEREQUEST_H
#define REMOTEREQUEST_H

#include <QString>

struct LensMotor;

// What one HTTP request or OSC message asks of the lens, once its words and
// values have been checked. Nothing that is not one of these reaches the board.
struct RemoteRequest
{
    enum class Kind {
        Status,
        Goto,
        Run,
        Stop,
        PresetCall,
        PresetStore,
        Refresh,
        Calibrate,
        Store,
    };

    // How long a run goes on without a repeat, unless the client says.
    static constexpr int defaultHoldMs = 500;
    static constexpr int minimumHoldMs = 100;
    static constexpr int maximumHoldMs = 5000;
    static constexpr int firstPreset = 1;
    static constexpr int lastPreset = 10;

    Kind kind = Kind::Status;
    // Goto, Run, Stop.
    const LensMotor *motor = nullptr;
    // Goto: the position; PresetCall, PresetStore: the preset number.
    int value = 0;
    // Goto: a share of the motor's range from 0 to 1 instead of value, when
    // not negative (a fader).
    double share = -1;
    // Run: the index of the direction in the motor's directions.
    int direction = 0;
    // Run: 0 low, 1 medium, 2 high; -1 leaves the speed as it is.
    // PresetCall: the preset's move at that level; -1 at the speeds last set.
    int speed = -1;
    // Run: how long the motor runs without a repeat.
    int holdMs = defaultHoldMs;
};

#endif // REMOTEREQUEST_H
