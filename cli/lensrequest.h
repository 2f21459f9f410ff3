#ifndef LENSREQUEST_H
#define LENSREQUEST_H

#include "lensmotor.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What one command of tavro-lensctl asks of the board. It is checked in full
// before a driver is made, so a mistyped command never reaches the line.
struct LensRequest
{
    enum class Kind { Probe, Get, Command };

    Kind kind = Kind::Command;
    // The command words, in lower case, for messages and the JSON answer.
    QString words;
    // For Kind::Command: the driver operations to run.
    std::function<void(Controller &)> command;
    // For Kind::Command: how long the board goes on working after it has
    // acknowledged the command, and the tool waits with it.
    unsigned long settleMs = 0;

    // The request the command words make of board, or nothing with *error
    // saying what is wrong with them. Case does not matter.
    static std::optional<LensRequest> parse(BoardType board, const QStringList &words, QString *error);
};

#endif // LENSREQUEST_H
