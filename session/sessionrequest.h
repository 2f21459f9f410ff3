#ifndef SESSIONREQUEST_H
#define SESSIONREQUEST_H

struct LensMotor;

// What a front end asks of the lens session, once its words and values have
// been checked: a button, a key or a pad, a command of the tool, an HTTP
// request or an OSC message. Nothing that is not one of these reaches the
// board.
struct SessionRequest
{
    enum class Kind {
        // Answered from what the session knows, with no exchange.
        Status,
        Goto,
        Run,
        // A move by value driver units from where the motor was last read,
        // held to its range.
        Step,
        Stop,
        PresetCall,
        PresetStore,
        Speed,
        Calibrate,
        // Reads every position and maximum.
        Refresh,
        Store,
        // Asks the board for its lens type.
        Probe,
        // Reads the position of motor, and only that: as often as the line
        // allows, for a program timing a move.
        Read,
    };

    // How long a remote run goes on without a repeat, unless the client says.
    static constexpr int defaultHoldMs = 500;
    static constexpr int minimumHoldMs = 100;
    static constexpr int maximumHoldMs = 5000;
    // The longest a timed move may be asked to take, in seconds.
    static constexpr double maximumSeconds = 600;
    static constexpr int firstPreset = 1;
    static constexpr int lastPreset = 10;

    Kind kind = Kind::Status;
    // Goto, Run, Step, Stop, Speed, Read.
    const LensMotor *motor = nullptr;
    // Goto: the position; Step: the signed distance; PresetCall, PresetStore:
    // the preset number.
    int value = 0;
    // Goto: a share of the motor's range from 0 to 1 instead of value, when
    // not negative (a fader).
    double share = -1;
    // Run: LensMotor::towardsZero or LensMotor::towardsMaximum.
    int direction = 0;
    // Run, Speed: 0 low, 1 medium, 2 high; -1 leaves the speed as it is.
    // PresetCall: the preset's move at that level; -1 at the speeds last set.
    int speed = -1;
    // Run: how long the motor runs without a repeat; 0 until its stop, or
    // until its holder lets go.
    int holdMs = 0;
    // Run: the input that holds it (a key, a stick); null for none.
    const void *holder = nullptr;
    // Goto: how long the board is left alone after the frame, to take the
    // position before the next command.
    int settleMs = 0;
    // Calibrate: how long the board is given after the command, announced
    // ahead; negative for as long as the board needs.
    int waitMs = -1;
    // Goto, PresetCall: how long the move takes, in seconds, every motor it
    // moves arriving together on an eased course; 0 at the speeds set.
    double seconds = 0;
    // Only the frames the request names: a goto is neither checked against
    // the range nor read back, nor a stop, a preset call or a calibration
    // followed by reads. For the tool, whose scripts count on the frames.
    bool exact = false;
};

#endif // SESSIONREQUEST_H
