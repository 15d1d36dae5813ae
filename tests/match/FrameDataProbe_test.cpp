#include <gtest/gtest.h>

#include "anim/CharacterData.h"
#include "collision/HitProps.h"
#include "fighter/Player.h"
#include "match/FrameDataProbe.h"
#include "match/Match.h"
#include "match/frameDataTable.h"
#include "roster/FighterFile.h"
#include "support/testFighters.h"
#include "support/versusRules.h"

namespace {

// Changes the length of one segment of the punch on every track that has it.
void lengthenPunchSegment(CharacterData& data, std::size_t segment, int by) {
    FrameAnimation& punch = data.animations[PlayerState::HP];
    punch.sprite.segments[segment].duration += by;
    punch.sprite.totalFrames += by;
    punch.hitboxes.segments[segment].duration += by;
    punch.hitboxes.totalFrames += by;
    punch.hitProps.segments[segment].duration += by;
    punch.hitProps.totalFrames += by;
}

MoveFrameData measurePunch(void (*change)(CharacterData&)) {
    std::shared_ptr<CharacterData> data =
        FighterFile::read(testRoster().fighterFolder(Roster::defaultFighter));
    change(*data);
    Game game(data, data);
    return FrameDataProbe(game).measure(PlayerState::HP);
}

} // namespace

// The figures follow the data: nothing in them is typed in.
TEST(FrameDataProbeTest, ChangedCharacterDataShowsInTheFigures) {
    const MoveFrameData original = measurePunch([](CharacterData&) {});
    const MoveFrameData changed = measurePunch([](CharacterData& data) {
        lengthenPunchSegment(data, 0, -3); // startup
        lengthenPunchSegment(data, 1, 5);  // active
        data.animations[PlayerState::HP].hitProps.segments[1].value->hitStun += 10;
    });

    EXPECT_EQ(changed.startup, original.startup - 3);
    EXPECT_EQ(changed.active, original.active + 5);
    EXPECT_EQ(changed.recovery, original.recovery);
    EXPECT_EQ(changed.total, original.total + 2);
    ASSERT_EQ(changed.onHit.size(), 1u);
    ASSERT_EQ(original.onHit.size(), 1u);
    EXPECT_EQ(changed.onHit[0].stun, original.onHit[0].stun + 10);
    // The hit lands 3 steps sooner with 10 more steps of stun; the punch ends 2 steps later.
    EXPECT_EQ(changed.onHit[0].advantage, original.onHit[0].advantage - 3 + 10 - 2);
    EXPECT_EQ(changed.onBlock[0].advantage, original.onBlock[0].advantage - 3 - 2);
}

// "Can act" as the probe counts it is when the rules take a new press: a punch pressed on
// every step starts again exactly on the step after the measured total.
TEST(FrameDataProbeTest, TheAttackerActsAgainWhenTheProbeSays) {
    const int total = measurePunch([](CharacterData&) {}).total;
    const std::unique_ptr<Game> game = testGame();
    Match fresh(*game);
    StepInput punch;
    punch.players[0].pressed[0] = true;
    int restartedOn = 0;
    for (int step = 1; step <= 2 * total && restartedOn == 0; ++step) {
        fresh.step(punch);
        const bool firstFrame = game->player1->animation.sprite.currentFrame == 0;
        if (step > 1 && game->player1->state.action == PlayerState::HP && firstFrame)
            restartedOn = step;
    }
    EXPECT_EQ(restartedOn, total + 1);
}

// Under the latest versus rules every move of every shipped fighter, blocked by any fighter,
// leaves its attacker behind by at least the start-up of the roster's fastest punch (17 steps,
// Sora's), after its last blocked hit: a blocked special move can always be punished.
TEST(FrameDataProbeTest, EveryShippedFightersBlockedMovesCanBePunished) {
    const std::vector<std::string> names = testRoster().fighters();
    ASSERT_GE(names.size(), 2u);
    int fastestPunch = 1000;
    for (const std::string& name : names) {
        const auto fighter = testRoster().loadFighter(name);
        Game game(fighter, fighter);
        fastestPunch = std::min(fastestPunch, FrameDataProbe(game).measure(PlayerState::HP).startup);
    }
    EXPECT_EQ(fastestPunch, 17);
    for (const std::string& attacker : names)
        for (const std::string& blocker : names) {
            Game game(testRoster().loadFighter(attacker), testRoster().loadFighter(blocker));
            for (const auto& [move, data] : measureMoves(game, versusRules())) {
                ASSERT_FALSE(data.onBlock.empty()) << attacker << "'s " << move;
                EXPECT_LE(data.onBlock.back().advantage, -fastestPunch)
                    << attacker << "'s " << move << " blocked by " << blocker;
            }
        }
}
