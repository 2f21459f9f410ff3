#ifndef LINKHARNESS_H
#define LINKHARNESS_H

#include "scriptedpeer.h"

#include <cstddef>
#include <cstdint>

class Controller;

// One input of a link target: the first byte picks the operation, the rest is
// what the board sends back. A first byte with bit 7 set runs its operation
// and lets the next byte pick another, up to four in a row (so a Pellan
// driver can be calibrated before it moves); the replies serve them all. The replies are read as pieces, each a header
// byte and then (header & 0x1F) bytes; bits 5 and 6 of the header choose the
// delay before the piece (0, 1, 4 or 15 ms, the last beyond the fuzz time-outs)
// and bit 7 ends the reply to the current frame, so 85 and five bytes are
// a whole reply in one piece. A header of 80 is a silent board.
namespace LinkHarness {

QList<ScriptedPeer::Reply> replies(const uint8_t *data, size_t size);

// Serves the replies on peer's line, runs the operation on driver (whose port
// is the peer's) and waits until the line is quiet again.
void run(ScriptedPeer &peer, Controller &driver, const uint8_t *data, size_t size);

} // namespace LinkHarness

#endif // LINKHARNESS_H
