#pragma once

#include <cstdint>
#include <string>

#include "match/MatchRules.h"

// What a replay file's header and closing record tell of its match, read without its steps:
// enough to list it. The header and the closing record are checked against each other and the
// file's length; the steps and the check value are not (playing the file checks them). The
// replay format that names the fighters, the stage, the mode and the result adds them here,
// read from the same header.
struct ReplaySummary {
    unsigned formatVersion = 0;
    MatchRules rules;
    std::uint64_t steps = 0;
    // A recording of a match watched from its middle.
    bool startsMidMatch = false;

    double seconds() const { return static_cast<double>(steps) / 60.0; }

    // The summary of the file at path. Throws ReplayError for a file that is not a whole
    // replay this Vorrak reads; its what() is the reason alone, in the words readReplay uses.
    static ReplaySummary read(const std::string& path);
};
