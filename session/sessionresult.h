#ifndef SESSIONRESULT_H
#define SESSIONRESULT_H

#include "outcome.h"

#include <array>
#include <optional>
#include <utility>

// How a request of the lens session went, as data; each front end words it.
struct SessionResult
{
    enum class Kind {
        Done,
        // The board did not carry it out: outcome says why.
        Failed,
        // A goto beyond the motor's range, which is from 0 to value.
        OutOfRange,
        // A goto beyond the lens's soft limit value, which its profile sets.
        BeyondLimit,
        // A timed move with no measured speeds in the lens's profile.
        Unmeasured,
        // Following the zoom with the focus, with no focus curve to follow.
        NoFocusCurve,
        // The session is shutting down and takes no more requests.
        Stopping,
    };

    Kind kind = Kind::Done;
    Outcome outcome;
    // Failed: whether what failed was a query (a read), not a command.
    bool query = false;
    // Probe: the lens type; OutOfRange: the motor's maximum; BeyondLimit:
    // the limit crossed.
    int value = 0;
    // A timed move: the seconds it takes from now, longer than asked when
    // lengthened (the motors cannot make it sooner).
    double seconds = 0;
    bool lengthened = false;
    // A timed or followed preset call of a preset this program never saw
    // stored: the board recalled it its own way.
    bool boardsOwn = false;
    // Per motor (zoom, focus, iris): the limit a preset call took it to
    // instead of where the preset was recorded, beyond the profile's soft
    // limits.
    using Limits = std::array<std::optional<int>, 3>;
    Limits recalledToLimit;

    bool done() const { return kind == Kind::Done; }

    // What failed, and whether it was a query.
    static SessionResult failure(Outcome outcome, bool query)
    {
        SessionResult result;
        result.kind = Kind::Failed;
        result.outcome = std::move(outcome);
        result.query = query;
        return result;
    }
};

#endif // SESSIONRESULT_H
