// Kaede's spirit orb against Sora (and against her own): it leaves on the move's 13th step, 40
// in front of her, and flies 3 a step for at most 110 steps; it hits for 70 and is blocked like
// any attack.
#include <gtest/gtest.h>

#include "support/Duel.h"

namespace {

// Down, down-forward, forward and the first button, for the left fighter facing right.
void throwOrb(Duel& duel, Direction::eDirection second = Direction::Neutral) {
    duel.step(frameOf(Direction::Down), frameOf(second));
    duel.step(frameOf(Direction::DownRight), frameOf(second));
    duel.step(frameOf(Direction::Right, true), frameOf(second));
}

} // namespace

TEST(ProjectilesTest, AnOrbLeavesOnItsStepHitsOnceAndIsGoneOrIsBlocked) {
    for (const bool blocking : {false, true}) {
        SCOPED_TRACE(blocking ? "blocked" : "hit");
        Duel duel("kaede", "sora");
        duel.place(-100, 100);
        const Direction::eDirection back = blocking ? Direction::Right : Direction::Neutral;
        throwOrb(duel, back);
        for (int step = 2; step < 13; ++step)
            duel.step(frameOf(Direction::Neutral), frameOf(back));
        EXPECT_FALSE(duel.game->projectiles[0].active);
        duel.step(frameOf(Direction::Neutral), frameOf(back));
        ASSERT_TRUE(duel.game->projectiles[0].active);
        EXPECT_FLOAT_EQ(duel.game->projectiles[0].x, -60);
        int steps = 0;
        while (duel.game->projectiles[0].active && steps++ < 200)
            duel.step(frameOf(Direction::Neutral), frameOf(back));
        EXPECT_EQ(duel.p2().state.health, blocking ? 1000 : 1000 - 70);
        EXPECT_EQ(duel.p2().state.action, blocking ? PlayerState::Block : PlayerState::Hit);
        duel.idle(120);
        EXPECT_EQ(duel.p2().state.health, blocking ? 1000 : 1000 - 70) << "one hit only";
    }
}

// An orb that meets nobody goes at the wall, or at the end of its 110 steps.
TEST(ProjectilesTest, AnOrbGoesAtTheWallOrAtItsLifetimesEnd) {
    Duel duel("kaede", "sora");
    duel.place(-150, -100);
    duel.game->projectiles[0] = ProjectileState{true, 155, 0, false, 0};
    duel.idle(3);
    EXPECT_TRUE(duel.game->projectiles[0].active) << "at 164, the wall";
    duel.idle(1);
    EXPECT_FALSE(duel.game->projectiles[0].active);

    duel.game->walls = 1000;
    duel.game->projectiles[0] = ProjectileState{true, 0, 0, false, 0};
    duel.idle(109);
    EXPECT_TRUE(duel.game->projectiles[0].active);
    duel.idle(1);
    EXPECT_FALSE(duel.game->projectiles[0].active);
}

// Two orbs that meet cancel out; and while hers is out, a second orb move sends out nothing.
TEST(ProjectilesTest, OrbsThatMeetCancelAndOnlyOneIsOutAtATime) {
    Duel mirror("kaede", "kaede");
    mirror.place(-100, 100);
    mirror.game->projectiles[0] = ProjectileState{true, -60, 0, false, 0};
    mirror.game->projectiles[1] = ProjectileState{true, 60, 0, true, 0};
    mirror.idle(60);
    EXPECT_FALSE(mirror.game->projectiles[0].active);
    EXPECT_FALSE(mirror.game->projectiles[1].active);
    EXPECT_EQ(mirror.p1().state.health, 950);
    EXPECT_EQ(mirror.p2().state.health, 950);

    Duel duel("kaede", "sora");
    duel.game->walls = 1000;
    duel.place(-100, 600);
    throwOrb(duel);
    duel.idle(50);
    throwOrb(duel);
    duel.idle(20);
    ASSERT_TRUE(duel.game->projectiles[0].active);
    // The first left 61 steps ago; a second would have left 8 steps ago.
    EXPECT_EQ(duel.game->projectiles[0].age, 61);
}
