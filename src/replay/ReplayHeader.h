#pragma once

#include <cstddef>
#include <cstdint>

#include "match/MatchRules.h"
#include "replay/ReplayFormat.h"

// What a replay file says before its steps: its format, the character data and rules it was
// recorded with, and the match its steps start from. Read alike by the reader, which goes on to
// check and play the whole file, and by the replay list, which reads no further.
struct ReplayHeader {
    unsigned formatVersion = 0;
    std::uint64_t characterHash = 0;
    // A version 1 file's are the plain match's.
    MatchRules rules;
    // The size of the saved match the steps start from, 0 from the match's start.
    std::uint64_t stateSize = 0;
    // The match's number of the first step (0 in a version 3 file, which does not say).
    int firstStep = 0;

    // No header is longer: the largest saved match in the newest format.
    static constexpr std::size_t longest =
        ReplayFormat::headerSize(ReplayFormat::version, ReplayFormat::maxStateSize);

    // A recording of a match watched from its middle.
    bool startsMidMatch() const { return formatVersion == 3 || stateSize > 0; }
    // Where its saved match's bytes start, and where its steps do.
    std::uint64_t stateAt() const { return ReplayFormat::stateSizeAt(formatVersion) + 4; }
    std::uint64_t stepsAt() const { return ReplayFormat::headerSize(formatVersion, stateSize); }

    // The header of a file of fileSize bytes, from its first `available` bytes: the whole
    // header, or the whole file when it is shorter than `longest`. Checks that the file can
    // hold the header and a closing record, and that what the header says is in range; throws
    // ReplayError whose what() is the reason alone.
    static ReplayHeader parse(const unsigned char* bytes, std::size_t available,
                              std::uint64_t fileSize);
};
