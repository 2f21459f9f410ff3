// The Pellan driver's transactions against whatever a board could send back:
// echoes and status replies, whole, in pieces, altered or late, across every
// exchange of an operation (a calibration makes seven).

#include "controller_usm.h"
#include "fuzzqt.h"
#include "linkharness.h"
#include "pellanboard.h"

namespace {

ScriptedPeer *peer = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzQt::start();
    // The Pellan driver waits once per reply; see the Tavro target.
    ControllerUSM::setTimeouts({100, 10, 0});
    peer = new ScriptedPeer(PellanBoard::frameSize);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ControllerUSM driver(peer->portName());
    LinkHarness::run(*peer, driver, data, size);
    return 0;
}
