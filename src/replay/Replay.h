#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/StepInput.h"
#include "match/MatchRules.h"
#include "match/MatchState.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayMode.h"
#include "replay/ReplayResult.h"
#include "roster/Lineup.h"

// A recorded match as read from its file and checked through: the steps, still in their
// two-byte form, and the checksums the match must show when played back. Made by readReplay,
// owned by the replay's playback.
struct Replay {
    // Where it came from, for messages.
    std::string source;
    unsigned formatVersion = 0;
    // The fighters and stage it names (format 5 on), or the default ones, with before format 5
    // the fingerprint of the character data the default fighter had.
    Lineup lineup;
    std::uint64_t characterHash = 0;
    // Empty before format 5.
    std::optional<ReplayMode> mode;
    std::optional<ReplayResult> result;
    // The rules it was played by: a version 1 file's are the plain match's.
    MatchRules rules;
    // The match the steps start from, when not the match's start (a version 3 or 4 file), and
    // the match's number of its first step (0 in a version 3 file, which does not say).
    std::optional<MatchState> start;
    int firstStep = 0;
    std::vector<std::uint16_t> steps;
    // The match after steps 60, 120, ...
    std::vector<std::uint64_t> checkpoints;
    // The match after the last step; only meaningful when there are steps.
    std::uint64_t finalChecksum = 0;

    // index from 0; the file numbers this step index + 1.
    StepInput step(std::size_t index) const { return ReplayFormat::decodeStep(steps[index]); }
};
