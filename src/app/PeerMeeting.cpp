#include "app/PeerMeeting.h"

#include <OgreLogManager.h>

#include "net/EnetLink.h"

namespace {
// Often enough that the guest's first attempts find the host's router open.
constexpr auto knockInterval = std::chrono::milliseconds(100);
} // namespace

PeerMeeting::PeerMeeting(const Rendezvous& rendezvous, bool host)
    : rendezvous(rendezvous), host(host) {}

void PeerMeeting::tick(EnetLink& link) {
    if (link.isConnected())
        return;
    const Clock::time_point now = Clock::now();
    if (host && now - lastKnock >= knockInterval) {
        lastKnock = now;
        std::vector<lobby::Endpoint> addresses = rendezvous.punch;
        if (rendezvous.relay.port != 0)
            addresses.push_back(rendezvous.relay);
        link.punch(addresses);
    }
    if (host || throughRelay || rendezvous.relay.port == 0 ||
        now - started < std::chrono::duration<double>(rendezvous.directSeconds))
        return;
    throughRelay = true;
    Ogre::LogManager::getSingleton().logMessage(
        "Online play: no direct way to the other player; trying the relay at " +
        lobby::describe(rendezvous.relay));
    link.retarget(rendezvous.relay);
}

std::string PeerMeeting::route(const EnetLink& link) const {
    return rendezvous.relay.port != 0 && link.peerName() == lobby::describe(rendezvous.relay)
               ? "relayed"
               : "direct";
}
