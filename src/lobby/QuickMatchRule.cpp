#include "lobby/QuickMatchRule.h"

std::optional<std::pair<std::size_t, std::size_t>>
QuickMatchRule::choose(const std::vector<lobby::QueuedPlayer>& waiting, double now) const {
    if (waiting.size() < 2)
        return std::nullopt;
    if (pingLimitMs <= 0)
        return std::make_pair(std::size_t{0}, std::size_t{1});
    // Each player in turn, oldest first, with the oldest near enough to it.
    for (std::size_t first = 0; first + 1 < waiting.size(); ++first) {
        const lobby::QueuedPlayer& host = waiting[first];
        for (std::size_t second = first + 1; second < waiting.size(); ++second)
            if (host.card.pingMs + waiting[second].card.pingMs <= pingLimitMs)
                return std::make_pair(first, second);
        if (now - host.since >= graceSeconds)
            return std::make_pair(first, first + 1);
    }
    return std::nullopt;
}
