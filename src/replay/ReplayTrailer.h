#pragma once

#include <cstdint>
#include <optional>

#include "replay/ReplayResult.h"

struct MatchRules;

// What a replay file says after its steps: how many there are, the match's checksum after the
// last, from format 5 on the result, and the check value of everything before it. Read alike
// by the reader and by the replay list.
struct ReplayTrailer {
    std::uint64_t steps = 0;
    std::uint64_t finalChecksum = 0;
    // Empty when no match was decided, and before format 5, which does not say.
    std::optional<ReplayResult> result;
    std::uint64_t check = 0;
    // The result's bytes name none this game has, or one the rules cannot give (a winner of
    // an open fight, a score no match of its rounds ends on).
    bool damagedResult = false;

    // The closing record of a file of this format and rules, its trailerSize(format) bytes.
    // What it says is the caller's to check: the step count against the file's length, then
    // damagedResult.
    static ReplayTrailer parse(const unsigned char* bytes, unsigned format,
                               const MatchRules& rules);
};
