#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "lobby/QueuedPlayer.h"

// Who plays whom in the quick match: the player waiting longest, with the next longest waiting.
// Given a ping limit, the longest waiting is paired with the longest waiting of those whose
// round trip to the lobby added to its own stays within the limit; after the grace time it
// takes whoever is next, so nobody waits for ever for a near opponent. Owned by the lobby.
class QuickMatchRule {
public:
    QuickMatchRule(int pingLimitMs, double graceSeconds)
        : pingLimitMs(pingLimitMs), graceSeconds(graceSeconds) {}

    // Whether choose looks at the time (only the ping rule does).
    bool needsClock() const { return pingLimitMs > 0; }
    // waiting: oldest first. The places of the host (the one who waited longer) and the guest.
    std::optional<std::pair<std::size_t, std::size_t>>
    choose(const std::vector<lobby::QueuedPlayer>& waiting, double now) const;

private:
    int pingLimitMs;
    double graceSeconds;
};
