// The saved match a late spectator receives (and its recording, or a replay from a stranger,
// starts from), then the steps that follow it: the saved match is refused, or taken only when it
// is exactly what encoding it gives and fits the character data, as the spectator checks it;
// a match taken plays on for the steps after it, as the spectator shows and hears them, without
// a fault. The input: the saved match's bytes (a fixed length for its layout), then the steps,
// two bytes each as a replay holds them.
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
#include "support/testFighters.h"

// The saved match in the layout a spectator receives and a recording holds, or failing that in
// the first layout, which recordings from before the rules had a version hold.
struct Saved {
    std::optional<MatchState> state;
    std::size_t size = 0;
};

Saved decodeEither(const std::uint8_t* data, std::size_t size) {
    static const std::size_t latestSize = MatchStateCodec::encode(MatchState{}).size();
    static const std::size_t firstSize =
        MatchStateCodec::encode(MatchState{}, MatchStateCodec::firstLayout).size();
    for (const int layout : {MatchStateCodec::latestLayout, MatchStateCodec::firstLayout}) {
        const std::size_t saved =
            std::min(size, layout == MatchStateCodec::firstLayout ? firstSize : latestSize);
        std::optional<MatchState> state = MatchStateCodec::decode(data, saved, layout);
        if (!state)
            continue;
        expect(MatchStateCodec::encode(*state, layout) == std::vector<std::uint8_t>(data, data + saved),
               "a saved match taken is its encoding");
        return {std::move(state), saved};
    }
    return {};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<Game> game = testGame();
    const Saved saved = decodeEither(data, size);
    if (!saved.state)
        return 0;
    const MatchState& state = *saved.state;
    Match match(*game);
    if (!match.fits(state))
        return 0;
    match.start(state.rules);
    match.restore(state);
    for (std::size_t at = saved.size; at + 1 < size; at += 2) {
        const auto bits = static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
        if (!ReplayFormat::isValidStep(bits))
            continue;
        const MatchState before = match.save();
        match.step(ReplayFormat::decodeStep(bits));
        detectCues(before, match.save());
    }
    return 0;
}
