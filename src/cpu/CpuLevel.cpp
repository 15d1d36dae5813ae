#include "cpu/CpuLevel.h"

#include <array>

namespace {

// Level 1 sees late, looks a short way against one guess and often blunders; level 8 sees
// 10 steps late (never faster than a person), looks far against every guess and never does.
constexpr std::array<CpuLevel, CpuLevel::highest> levels = {{
    // level, reaction, decision, horizon, guesses, options, mistakes, caution, delay, model
    // order, model weight
    {1, 30, 12, 16, 1, 4, 50, 0, 3, 0, 0},
    {2, 27, 10, 20, 2, 6, 35, 20, 3, 0, 0},
    {3, 24, 8, 24, 2, 6, 35, 0, 3, 0, 0},
    {4, 20, 7, 32, 3, 7, 15, 40, 3, 0, 0},
    {5, 18, 6, 32, 3, 8, 12, 50, 3, 3, 50},
    {6, 15, 5, 36, 4, 9, 12, 50, 3, 6, 60},
    {7, 13, 5, 48, 4, 9, 6, 0, 3, 12, 75},
    {8, 10, 4, 48, 4, 9, 0, 50, 3, 24, 90},
}};

} // namespace

CpuLevel CpuLevel::of(int level) { return levels[static_cast<std::size_t>(level - lowest)]; }
