#pragma once

#include <chrono>
#include <string>

#include "net/Rendezvous.h"

class EnetLink;

// Two players the lobby paired, before their match: the host knocks on every address the guest
// may be at, and on its relay port, until the guest is connected; the guest tries the host's
// address and, when no direct way opens in time, the relay. Once connected it tells which way
// the match goes. Owned by the network play driver.
class PeerMeeting {
public:
    PeerMeeting(const Rendezvous& rendezvous, bool host);

    // Called every step until connected.
    void tick(EnetLink& link);
    // "relayed" or "direct", for the top line and the log.
    std::string route(const EnetLink& link) const;

private:
    using Clock = std::chrono::steady_clock;

    Rendezvous rendezvous;
    bool host;
    Clock::time_point started = Clock::now();
    Clock::time_point lastKnock;
    bool throughRelay = false;
};
