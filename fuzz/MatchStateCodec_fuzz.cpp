// The saved match a late spectator receives (and its recording, or a replay from a stranger,
// starts from), then the steps that follow it: the saved match is refused, or taken only when it
// is exactly what encoding it gives and fits the character data, as the spectator checks it;
// a match taken plays on for the steps after it, as the spectator shows and hears them, without
// a fault. The input: the saved match's bytes (a fixed length), then the steps, two bytes each
// as a replay holds them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "expect.h"
#include "match/Game.h"
#include "match/Match.h"
#include "match/MatchStateCodec.h"
#include "replay/ReplayFormat.h"
#include "sound/cueDetection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::size_t stateSize = MatchStateCodec::encode(MatchState{}).size();
    static const std::unique_ptr<Game> game = Game::headless();
    const std::size_t saved = std::min(size, stateSize);
    const std::optional<MatchState> state = MatchStateCodec::decode(data, saved);
    if (!state)
        return 0;
    expect(MatchStateCodec::encode(*state) == std::vector<std::uint8_t>(data, data + saved),
           "a saved match taken is its encoding");
    Match match(*game);
    if (!match.fits(*state))
        return 0;
    match.start(state->rules);
    match.load(*state);
    for (std::size_t at = saved; at + 1 < size; at += 2) {
        const auto bits = static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
        if (!ReplayFormat::isValidStep(bits))
            continue;
        const MatchState before = match.save();
        match.step(ReplayFormat::decodeStep(bits));
        detectCues(before, match.save());
    }
    return 0;
}
