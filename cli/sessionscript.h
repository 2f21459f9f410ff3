#ifndef SESSIONSCRIPT_H
#define SESSIONSCRIPT_H

#include "lensrequest.h"

#include <QList>
#include <QString>

#include <optional>

// A tavro-lensctl session: commands in the command line's words, one a line,
// run in order on one driver. Every line is read and checked before the first
// command is run, so a mistyped line stops the session before anything has
// been sent.
namespace SessionScript {

// The text of the session: file, or standard input when file is empty; or
// nothing, with *error saying why it could not be read.
std::optional<QString> read(const QString &file, QString *error);

// The requests text makes of board, with profile (or null) for positions in
// the lens's units. Blank lines and lines whose first word
// starts with # are skipped. Nothing, with *error naming the line and what is
// wrong with it, when a line is not a command.
std::optional<QList<LensRequest>> parse(BoardType board, const QString &text, const LensProfile *profile,
                                        QString *error);

} // namespace SessionScript

#endif // SESSIONSCRIPT_H
