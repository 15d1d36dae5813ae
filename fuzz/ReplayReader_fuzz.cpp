// A replay file, any format, as --replay, --training and --export read it: refused with a
// ReplayError, or read whole with every part in range and its saved match (when it starts from
// one) checked against the character data as a playback checks it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "anim/CharacterData.h"
#include "expect.h"
#include "match/MatchStateCodec.h"
#include "replay/ReplayError.h"
#include "replay/ReplayReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CharacterData characters(nullptr);
    Replay replay;
    try {
        replay = parseReplay(std::string(reinterpret_cast<const char*>(data), size), "fuzz");
    } catch (const ReplayError&) {
        return 0;
    }
    expect(replay.rules.valid(), "the rules are in range");
    expect(replay.checkpoints.size() == replay.steps.size() / ReplayFormat::checkpointInterval,
           "a checkpoint every 60 steps");
    for (std::size_t step = 0; step < replay.steps.size(); ++step)
        expect(ReplayFormat::isValidStep(replay.steps[step]), "every step is a step");
    if (replay.start) {
        expect(replay.start->rules == replay.rules, "the saved match has the file's rules");
        MatchStateCodec::fits(*replay.start, characters);
    }
    return 0;
}
