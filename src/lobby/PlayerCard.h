#pragma once

#include <cstdint>
#include <string>

#include "lobby/Endpoint.h"

namespace lobby {

// A player as every lobby process sharing the state knows it: which process holds its
// connection (instance) under which number (client), its name, its match socket's addresses
// and its round trip to that lobby.
struct PlayerCard {
    std::string instance;
    std::uint32_t client = 0;
    std::string name;
    Endpoint outside;
    Endpoint local;
    std::uint16_t pingMs = 0;
};

} // namespace lobby
