#ifndef PORTREPORT_H
#define PORTREPORT_H

#include "operatorreport.h"

#include <optional>

class QString;
struct Outcome;

// What the operator is told of a port that failed, worded from how the
// exchange went: a port that would not open (busy, missing, refused), or one
// that failed while a query's frame went out. Nothing for the other
// outcomes, which the window shows as they are (a position left as it was).
namespace PortReport {

std::optional<OperatorReport::Report> of(const Outcome &outcome, const QString &port, bool query);

} // namespace PortReport

#endif // PORTREPORT_H
