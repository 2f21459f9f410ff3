#ifndef EXCHANGERECORD_H
#define EXCHANGERECORD_H

#include "boardtype.h"
#include "framemeaning.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// One of the two gotos of a move that comes to its target from beneath to take
// up the backlash: leg 1 goes beneath the target, leg 2 to the target.
struct ApproachLeg
{
    int motor = 0;
    int target = 0;
    int leg = 1;
};

// One exchange with a board as it went over the wire: the frame sent, the
// reply bytes as the program received them, how it ended and how long the
// board took.
struct ExchangeRecord
{
    enum class Outcome {
        Ok,
        // The board answered, but not with an acknowledgement.
        Rejected,
        NoReply,
        // The reply began but did not come complete in time.
        IncompleteReply,
        // The frame could not be written out, so none was sent.
        NotWritten,
        PortNotOpened,
        // The port is held by another program.
        PortBusy,
    };

    QDateTime start;
    BoardType board = BoardType::Tavro;
    QString port;
    QByteArray frame;
    QByteArray reply;
    Outcome outcome = Outcome::NoReply;
    // From the frame's write to the last reply byte taken in, or to the end of
    // the wait for a reply that did not come; negative when nothing was sent.
    double roundTripMs = -1;
    // The goto is a leg of a move that takes up the backlash.
    std::optional<ApproachLeg> approach;

    bool failed() const { return outcome != Outcome::Ok; }
    FrameMeaning sentMeaning() const;
    // Empty when nothing came back.
    FrameMeaning receivedMeaning() const;

    // "OK", "rejected", "no reply", "incomplete reply", "frame not written",
    // "port not opened", "port busy".
    static QString outcomeText(Outcome outcome);
    // "leg 1 of 2 of the focus's move to 1000, from beneath", as the trace
    // and the tool word it; empty when the exchange is no such leg.
    QString approachText() const;
    // "Tavro" or "Pellan".
    static QString boardName(BoardType board);
    // The board whose frames are that long, if either's are.
    static std::optional<BoardType> boardOfFrame(const QByteArray &frame);
};

#endif // EXCHANGERECORD_H
