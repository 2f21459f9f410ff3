#ifndef MESSAGEBOXREPORT_H
#define MESSAGEBOXREPORT_H

namespace MessageBoxReport {

// Makes the window's report the default one: a parentless, untitled, modal
// box run with exec(), the detail as its detailed text.
void install();

} // namespace MessageBoxReport

#endif // MESSAGEBOXREPORT_H
