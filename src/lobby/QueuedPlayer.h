#pragma once

#include <string>

#include "lobby/PlayerCard.h"

namespace lobby {

// A player waiting for a quick match: its card, since when (seconds on the queue's clock) and
// the store's own key for the entry.
struct QueuedPlayer {
    PlayerCard card;
    double since = 0;
    std::string key;
};

} // namespace lobby
