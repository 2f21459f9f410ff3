#ifndef LENSREQUEST_H
#define LENSREQUEST_H

#include "boardtype.h"
#include "sessionrequest.h"

#include <QString>
#include <QStringList>

#include <optional>

class LensProfile;

// What one command of tavro-lensctl asks of the lens session. It is checked
// in full before a driver is made, so a mistyped command never reaches the
// line.
struct LensRequest
{
    // Get reads every position and maximum and prints them.
    enum class Kind { Probe, Get, Command };

    Kind kind = Kind::Command;
    // The command words, in lower case, for messages and the JSON answer.
    QString words;
    // What the session carries out; for Get a refresh.
    SessionRequest request;
    // A focus distance on a board with a zoom: its position depends on
    // where the zoom stands, so it is found once the zoom has been read.
    std::optional<double> focusMetres;

    // The request the command words make of board, or nothing with *error
    // saying what is wrong with them. Case does not matter. A position in
    // the lens's units ("35mm", "2.5m", "inf", "f4") is taken through
    // profile, which may be null.
    static std::optional<LensRequest> parse(BoardType board, const QStringList &words, const LensProfile *profile,
                                            QString *error);
};

#endif // LENSREQUEST_H
