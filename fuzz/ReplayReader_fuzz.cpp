// A replay file, any format, as --replay, --training and --export read it: refused with a
// ReplayError, or read whole with every part in range; then played as a playback plays it, from
// the saved match it may start from (checked against the fighters first), until it ends
// or goes out of sync, without a fault.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "expect.h"
#include "match/Game.h"
#include "match/Match.h"
#include "replay/ReplayError.h"
#include "replay/ReplayPlayback.h"
#include "replay/ReplayReader.h"
#include "support/testFighters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<Game> game = testGame();
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
    expect(!replay.start || replay.start->rules == replay.rules,
           "the saved match has the file's rules");
    Match match(*game);
    match.start(replay.rules);
    try {
        // Whatever fighters it names, so that every file is played.
        ReplayPlayback playback(match, std::move(replay));
        while (playback.step(StepInput{})) {
        }
    } catch (const std::runtime_error&) {
        // Refused, or out of sync: the program ends with its report.
    }
    return 0;
}
