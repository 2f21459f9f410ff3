// The Tavro driver's transactions, all thirty operations, against whatever a
// board could send back: status bytes, data in pieces, too little, too much,
// too late.

#include "controller_tavro.h"
#include "fuzzqt.h"
#include "linkharness.h"
#include "tavroboard.h"

namespace {

ScriptedPeer *peer = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzQt::start();
    // Short enough for thousands of runs, long enough for a reply in pieces
    // on a pseudo-terminal.
    ControllerTavro::setTimeouts({100, 10, 10});
    peer = new ScriptedPeer(TavroBoard::frameSize);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ControllerTavro driver(peer->portName());
    LinkHarness::run(*peer, driver, data, size);
    return 0;
}
