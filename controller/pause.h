#ifndef PAUSE_H
#define PAUSE_H

#include <functional>

// The fixed waits the boards need (after a send, during calibration) all go
// through here, so tests can record them instead of sleeping.
namespace Pause {

using Function = std::function<void(unsigned long ms)>;

// Blocks the calling thread for ms milliseconds, with the ports it kept open
// closed (PortKeeper::closeIdleOnThisThread). The keep-alive hears of the
// pause's start and end whichever function runs it, so a window can say what it
// waits for even while tests record the pauses instead of sleeping.
void wait(unsigned long ms);

// Tells the keep-alive that fixed pauses of ms in all are to come, before the
// first of them; for a caller that knows its sequence of pauses in advance.
void announce(unsigned long ms);

// Replaces the pause and returns the previous one; an empty function restores
// the real sleep, which lasts exactly ms and calls the keep-alive between
// slices of at most KeepAlive::sliceMs.
Function setFunction(Function function);

} // namespace Pause

#endif // PAUSE_H
