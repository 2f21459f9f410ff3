#ifndef SESSIONRESULT_H
#define SESSIONRESULT_H

#include "outcome.h"

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
