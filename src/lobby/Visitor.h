#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "lobby/Endpoint.h"
#include "lobby/FloodGate.h"
#include "lobby/QueuedPlayer.h"

struct _ENetPeer;

namespace lobby {

// One game connected to this lobby process: what it said and where it stands.
struct Visitor {
    enum class Place { Arrived, Idle, InRoom, Queued, Playing };

    std::uint32_t id = 0;
    _ENetPeer* peer = nullptr;
    double arrived = 0;
    std::string name;
    Endpoint local;
    // The match socket as the lobby saw its probe, and the token the probe carries.
    std::optional<Endpoint> outside;
    std::uint64_t token = 0;
    Place place = Place::Arrived;
    std::string room;
    double roomMade = 0;
    QueuedPlayer queued;
    std::uint32_t match = 0;
    // Let go: what it still sends is not read.
    bool leaving = false;
    // Ten messages a second, twenty at once.
    FloodGate gate{10, 20};
};

} // namespace lobby
