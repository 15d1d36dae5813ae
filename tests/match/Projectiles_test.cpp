// Kaede's spirit orb against Sora (and against her own): it leaves on the move's 13th step, 40
// in front of her, and flies 2.5 a step for at most 30 steps; it hits for 40 and is blocked like
// any attack.
#include <gtest/gtest.h>

#include <string>

#include "files/TextFile.h"
#include "roster/FighterFile.h"
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
        duel.place(-60, 60);
        const Direction::eDirection back = blocking ? Direction::Right : Direction::Neutral;
        throwOrb(duel, back);
        for (int step = 2; step < 13; ++step)
            duel.step(frameOf(Direction::Neutral), frameOf(back));
        EXPECT_FALSE(duel.game->projectiles[0].active);
        duel.step(frameOf(Direction::Neutral), frameOf(back));
        ASSERT_TRUE(duel.game->projectiles[0].active);
        EXPECT_FLOAT_EQ(duel.game->projectiles[0].x, -20);
        int steps = 0;
        while (duel.game->projectiles[0].active && steps++ < 200)
            duel.step(frameOf(Direction::Neutral), frameOf(back));
        EXPECT_EQ(duel.p2().state.health, blocking ? 1000 : 1000 - 40);
        EXPECT_EQ(duel.p2().state.action, blocking ? PlayerState::Block : PlayerState::Hit);
        duel.idle(120);
        EXPECT_EQ(duel.p2().state.health, blocking ? 1000 : 1000 - 40) << "one hit only";
    }
}

// An orb that meets nobody goes at the wall, or at the end of its 30 steps.
TEST(ProjectilesTest, AnOrbGoesAtTheWallOrAtItsLifetimesEnd) {
    Duel duel("kaede", "sora");
    duel.place(-150, -100);
    duel.game->projectiles[0] = ProjectileState{true, 156.5f, 0, false, 0};
    duel.idle(3);
    EXPECT_TRUE(duel.game->projectiles[0].active) << "at 164, the wall";
    duel.idle(1);
    EXPECT_FALSE(duel.game->projectiles[0].active);

    duel.game->walls = 1000;
    duel.game->projectiles[0] = ProjectileState{true, 0, 0, false, 0};
    duel.idle(29);
    EXPECT_TRUE(duel.game->projectiles[0].active);
    duel.idle(1);
    EXPECT_FALSE(duel.game->projectiles[0].active);
}

// Two orbs that meet cancel out; and while hers is out, a second orb move sends out nothing.
TEST(ProjectilesTest, OrbsThatMeetCancelAndOnlyOneIsOutAtATime) {
    Duel mirror("kaede", "kaede");
    mirror.place(-100, 100);
    mirror.game->projectiles[0] = ProjectileState{true, -30, 0, false, 0};
    mirror.game->projectiles[1] = ProjectileState{true, 30, 0, true, 0};
    mirror.idle(30);
    EXPECT_FALSE(mirror.game->projectiles[0].active);
    EXPECT_FALSE(mirror.game->projectiles[1].active);
    EXPECT_EQ(mirror.p1().state.health, 950);
    EXPECT_EQ(mirror.p2().state.health, 950);

    // With an orb that flies 110 steps, her second orb move, made while the first still flies,
    // sends out none.
    std::string text = TextFile::read(testRoster().fighterFolder("kaede") + "/fighter.toml",
                                      FighterFile::maxBytes, "");
    text.replace(text.find("lifetime = 30"), 13, "lifetime = 110");
    Duel duel(FighterFile::parse(text, "kaede.toml", ""), defaultFighter());
    duel.game->walls = 1000;
    duel.place(-100, 600);
    throwOrb(duel);
    duel.idle(62);
    throwOrb(duel);
    duel.idle(20);
    ASSERT_TRUE(duel.game->projectiles[0].active);
    // The first left 73 steps ago; a second would have left 8 steps ago.
    EXPECT_EQ(duel.game->projectiles[0].age, 73);
}
