#ifndef KEEPALIVE_H
#define KEEPALIVE_H

#include <QtGlobal>

#include <functional>

// The drivers wait on the thread that calls them: for the fixed pauses a board
// needs, for a frame to leave the port and for a reply. A program that tells
// what is waited for (a window's progress dialog) installs a keep-alive, which
// every wait calls between slices of at most sliceMs, on the waiting thread.
// None is installed by default, so a console program waits exactly as before.
namespace KeepAlive {

// The longest a wait goes without calling the keep-alive, give or take the time
// the keep-alive itself takes.
constexpr int sliceMs = 50;

// What is being waited for.
enum class Reason {
    // A fixed pause: the keep-alive hears of its start (its whole length), of
    // the time left between slices, and of its end (0 ms left).
    Pause,
    // A frame leaving the port or a reply arriving, with the time left until
    // the exchange gives up.
    Board,
    // No wait: fixed pauses announced ahead, remainingMs their sum, each of
    // which then comes as a Pause of its own. A window can count a sequence of
    // them down as one.
    PausesAhead,
};

using Function = std::function<void(Reason reason, qint64 remainingMs)>;

// Calls the installed keep-alive, if any.
void call(Reason reason, qint64 remainingMs);

// Replaces the keep-alive and returns the previous one; an empty function
// installs none.
Function setFunction(Function function);

} // namespace KeepAlive

#endif // KEEPALIVE_H
