#pragma once

#include <cstdint>

#include "lobby/LobbyMessages.h"

namespace lobby {

// A pairing on its way to the lobby process that holds the player's connection.
struct Delivery {
    std::uint32_t client = 0;
    Paired paired;
};

} // namespace lobby
