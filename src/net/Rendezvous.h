#pragma once

#include <cstdint>
#include <vector>

#include "lobby/Endpoint.h"

// How two players the lobby paired find each other through their routers. The host sends to
// every address the guest may be at (and to its relay port) until the guest is connected, so
// its router lets the guest's packets in; the guest connects from the port the lobby saw, to
// the host's outside address, and after directSeconds without an answer through the relay.
// Empty (no lobby): the plain host and guest.
struct Rendezvous {
    // The port the lobby saw this side's probes come from: the match's link binds it.
    std::uint16_t localPort = 0;
    // The host's: where the guest may be.
    std::vector<lobby::Endpoint> punch;
    // This side's relay port (the host punches it too); port 0: no relay.
    lobby::Endpoint relay;
    double directSeconds = 3;
    // The input delay comes from the round trip measured in the handshake.
    bool delayFromRoundTrip = false;

    bool active() const { return localPort != 0; }
};
