#ifndef OUTCOMEWORDS_H
#define OUTCOMEWORDS_H

#include <QString>

struct Outcome;

// A failed outcome as every program that is not the window words it, in one
// line: the tool's failure line, the server's error. English always, since
// scripts read it.
namespace OutcomeWords {

// query: whether what failed was a read, which gets no answer, rather than a
// command, which is not acknowledged.
QString failure(const Outcome &outcome, const QString &port, bool query);
// A move the lens's soft limit stopped before it went out.
QString beyondLimit(const char *motor, int limit);
// A timed move without the motors' measured speeds to plan it by.
QString unmeasured();
// Following the zoom with no focus curve to follow.
QString noFocusCurve();
// A timed or followed call of a preset this computer never saw stored.
QString boardsOwnPreset(int preset);

} // namespace OutcomeWords

#endif // OUTCOMEWORDS_H
