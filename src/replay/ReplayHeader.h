#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "match/MatchRules.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayMode.h"
#include "roster/Lineup.h"

// What a replay file says before its steps: its format, the fighters and the stage it was
// recorded with (from format 5 on by name and fingerprint, before it the character data's
// fingerprint), how it was played, its rules and the match its steps start from. Read alike by
// the reader, which goes on to check and play the whole file, and by the replay list, which
// reads no further.
struct ReplayHeader {
    unsigned formatVersion = 0;
    // Before format 5: the fingerprint of the character data the default fighter had.
    std::uint64_t characterHash = 0;
    // From format 5 on as the file names them; before it the default fighter on both sides on
    // the default stage, without fingerprints.
    Lineup lineup;
    // Empty before format 5, which does not say.
    std::optional<ReplayMode> mode;
    // A version 1 file's are the plain match's.
    MatchRules rules;
    // The size of the saved match the steps start from, 0 from the match's start.
    std::uint64_t stateSize = 0;
    // The match's number of the first step (0 in a version 3 file, which does not say).
    int firstStep = 0;
    // Where the rules stand (format 2 on), where the saved match's bytes start (format 3 on),
    // and the header's size: where the steps start.
    std::uint64_t rulesAt = 0;
    std::uint64_t stateAt = 0;
    std::uint64_t size = 0;

    // A recording of a match watched from its middle.
    bool startsMidMatch() const { return formatVersion == 3 || stateSize > 0; }
    // A whole file of this header and `steps` steps.
    std::uint64_t fileSize(std::uint64_t steps) const {
        return size + ReplayFormat::bodySize(steps) + ReplayFormat::trailerSize(formatVersion);
    }

    // The header of a file of fileSize bytes, from its first `available` bytes: the whole
    // header, or the whole file when it is shorter than the longest header. Checks that the
    // file can hold the header and a closing record, and that what the header says is in
    // range; throws ReplayError whose what() is the reason alone.
    static ReplayHeader parse(const unsigned char* bytes, std::size_t available,
                              std::uint64_t fileSize);
};
