// The match on the rules alone, over long runs of random play.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "match/Game.h"
#include "match/Match.h"
#include "match/checksum.h"
#include "support/RandomInputs.h"
#include "support/testFighters.h"

namespace {

// The checksums of a match under random play, every 600 steps, folded into one. The input
// panels are left out: the figures below were taken when a match without a screen kept none.
std::uint64_t playedChecksums(const MatchRules& rules, std::uint32_t seed, int steps) {
    const std::unique_ptr<Game> game = testGame();
    Match match(*game);
    match.start(rules);
    RandomInputs inputs(seed);
    std::uint64_t folded = 0;
    for (int step = 1; step <= steps; ++step) {
        match.step(inputs.next(match.save()));
        if (step % 600 != 0)
            continue;
        MatchState state = match.save();
        state.panels = {};
        folded = folded * 1000003 ^ checksum(state);
    }
    return folded;
}

} // namespace

// Without versus, and under the first versus rules (a recording made before the rules had a
// version), the match plays as it always did, step for step: the figures were taken from the
// game as it was before the rules had a version.
TEST(MatchTest, ThePlainMatchAndTheFirstVersusRulesPlayAsTheyAlwaysDid) {
    MatchRules plain;
    MatchRules firstVersus;
    firstVersus.versus = true;
    firstVersus.version = MatchRules::firstVersion;
    EXPECT_EQ(playedChecksums(plain, 5, 30000), 5196528252565548685u);
    EXPECT_EQ(playedChecksums(firstVersus, 5, 30000), 12567788769837784246u);
}
