#ifndef OUTCOME_H
#define OUTCOME_H

#include "portlock.h"

#include <QString>

#include <utility>

// How a driver operation went, as data: the first of its exchanges that
// failed, or Ok. Whoever asked words it for the operator, a script or a
// remote client; the drivers themselves only log.
struct Outcome
{
    enum class Kind {
        Ok,
        // Nothing came back in time, only part of the reply, or a reply in the
        // wrong form (a Pellan status with a wrong CRC, say).
        NoReply,
        // The board answered, but did not acknowledge; or a store on this
        // computer could not be written.
        Rejected,
        // The port would not open, or failed while the frame went out; reason
        // is the system's own.
        PortFailure,
        // Another program held the port all the time the exchange waited.
        Busy,
    };

    Outcome() = default;
    explicit Outcome(Kind failure, QString why = {})
        : kind(failure)
        , reason(std::move(why))
    {
    }

    Kind kind = Kind::Ok;
    // PortFailure and Busy: the system's reason in English, such as
    // "Permission denied" or "In use by another program: NAME, process ID 42";
    // Rejected: what went wrong on this computer, if that is what did.
    QString reason;
    // PortFailure: whether the port did open, and failed while the frame
    // went out.
    bool whileWriting = false;
    // Busy: who holds the port, as far as the system tells.
    PortHolder holder;
    // PortFailure: the system refused this user the port, which no other
    // program holds.
    bool permission = false;

    bool ok() const { return kind == Kind::Ok; }
};

#endif // OUTCOME_H
