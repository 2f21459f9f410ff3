#ifndef MESSAGEBOXREPORT_H
#define MESSAGEBOXREPORT_H

namespace MessageBoxReport {

// Makes the window's report the default one: a parentless, untitled, modal
// box, opened without an event loop of its own, the detail as its detailed
// text; it deletes itself once closed.
void install();

} // namespace MessageBoxReport

#endif // MESSAGEBOXREPORT_H
