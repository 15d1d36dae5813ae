#pragma once

#include <cstdint>

// The computer player's own dice: splitmix64, a plain value seeded once, so the same seed and
// the same match always give the same choices. Owned by the player that rolls it.
class CpuRandom {
public:
    explicit CpuRandom(std::uint64_t seed) : state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    // From 0 to bound - 1.
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }
    bool percent(int chance) { return below(100) < chance; }

private:
    std::uint64_t state;
};
