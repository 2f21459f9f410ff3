#ifndef PAUSE_H
#define PAUSE_H

#include <functional>

// The fixed waits the boards need (after a send, during calibration) all go
// through here, so tests can record them instead of sleeping.
namespace Pause {

using Function = std::function<void(unsigned long ms)>;

// Blocks the calling thread for ms milliseconds (QThread::msleep by default).
void wait(unsigned long ms);

// Replaces the pause and returns the previous one; an empty function restores
// the real sleep.
Function setFunction(Function function);

} // namespace Pause

#endif // PAUSE_H
