#pragma once

#include <cstdint>

#include "cpu/Arena.h"

// The computer opponent and the arena as the command line asks for them: --cpu LEVEL,
// --cpu-player N, --seed S, and --arena A B with --matches N. Part of the Options.
struct CpuSettings {
    // 0: two people play.
    int level = 0;
    // The fighter the computer plays: 1 the left one, 2 the right one.
    int player = 2;
    std::uint64_t seed = 1;
    bool arena = false;
    Arena::Settings arenaSettings;
};
