#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "match/MatchRules.h"
#include "replay/ReplayMode.h"
#include "replay/ReplayResult.h"

// What a replay file's header and closing record tell of its match, read without its steps:
// enough to list it. The header and the closing record are checked against each other and the
// file's length; the steps and the check value are not (playing the file checks them).
struct ReplaySummary {
    unsigned formatVersion = 0;
    // The fighters, left and right, and the stage, by the names players type; a file from
    // before format 5 played the default ones (sora, sora, dojo).
    std::array<std::string, 2> fighters;
    std::string stage;
    // How it was played; empty in a file from before format 5, which does not say.
    std::optional<ReplayMode> mode;
    // The last versus match decided in it; empty when none was (cut short, an open fight) or
    // in a file from before format 5.
    std::optional<ReplayResult> result;
    MatchRules rules;
    // Its length.
    std::uint64_t steps = 0;
    // A recording of a match watched from its middle.
    bool startsMidMatch = false;

    double seconds() const { return static_cast<double>(steps) / 60.0; }

    // The summary of the file at path. Throws ReplayError for a file that is not a whole
    // replay this Vorrak reads; its what() is the reason alone, in the words readReplay uses.
    static ReplaySummary read(const std::string& path);
};
