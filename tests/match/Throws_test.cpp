// Goro's suplex against Sora: it grabs on its 4th step an opponent within 96 of him, holds
// them for the rest of its 38 steps, then drops them 75 behind him for 120 damage. Pressing the
// first button within 10 steps of the grab escapes it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "collision/HitProps.h"
#include "match/MatchStateCodec.h"
#include "match/checksum.h"
#include "support/Duel.h"
#include "support/RandomInputs.h"

namespace {

void suplex(Duel& duel, const InputFrame& second = frameOf(Direction::Neutral)) {
    duel.step(frameOf(Direction::Right, true), second);
    for (int step = 2; step <= 4; ++step)
        duel.step(frameOf(Direction::Neutral), second);
}

} // namespace

// In reach even when blocking, out of reach never; and never one reeling from a hit.
TEST(ThrowsTest, TheSuplexGrabsOnlyWithinReachAndNotInHitStun) {
    for (const float apart : {96.0f, 97.0f}) {
        Duel duel("goro", "sora");
        duel.place(0, apart);
        // Down-back: blocking where it stands.
        suplex(duel, frameOf(Direction::DownRight));
        EXPECT_NE(duel.p2().state.action, PlayerState::Idle);
        EXPECT_EQ(duel.game->grab.holding(), apart == 96.0f) << apart;
    }
    Duel duel("goro", "sora");
    duel.place(0, 60);
    const HitProps reeling{true, 0, 20, 0};
    duel.p2().takeHit(&reeling);
    suplex(duel);
    EXPECT_FALSE(duel.game->grab.holding());
}

TEST(ThrowsTest, TheDamageComesAtTheEndAndTheThrownLandsBehind) {
    Duel duel("goro", "sora");
    duel.place(0, 60);
    suplex(duel);
    int held = 0;
    for (; duel.game->grab.holding() && held < 100; ++held) {
        EXPECT_EQ(duel.p2().state.health, 1000);
        duel.step();
    }
    // Let go on the step after the throw's 38th, counted from its 4th.
    EXPECT_EQ(held, 35);
    EXPECT_EQ(duel.p2().state.health, 1000 - 120);
    EXPECT_FLOAT_EQ(duel.p2().state.position.x, -75);
    EXPECT_FLOAT_EQ(duel.p2().state.position.y, 0);
    EXPECT_EQ(duel.p2().state.action, PlayerState::Hit);
}

// The first button on the 10th step after the grab escapes; on the 11th it is too late.
TEST(ThrowsTest, ThePressJustAfterTheGrabEscapesUnhurt) {
    for (const int late : {10, 11}) {
        Duel duel("goro", "sora");
        duel.place(0, 60);
        suplex(duel);
        duel.idle(late - 1);
        duel.step(frameOf(Direction::Neutral), frameOf(Direction::Neutral, true));
        EXPECT_EQ(duel.game->grab.holding(), late == 11) << late;
        if (late == 11)
            continue;
        EXPECT_FLOAT_EQ(duel.p2().state.position.x - duel.p1().state.position.x, 100);
        duel.idle(60);
        EXPECT_EQ(duel.p2().state.health, 1000);
        EXPECT_EQ(duel.p1().state.action, PlayerState::Idle);
    }
}

// A match with an orb in flight, and one held in a suplex: put back from its save, or from its
// bytes as a late spectator gets them, it plays on step for step as it did.
TEST(ThrowsTest, AMatchWithAnOrbOutOrAThrowHoldingComesBackAndPlaysOnTheSame) {
    for (const char* left : {"kaede", "goro"}) {
        SCOPED_TRACE(left);
        Duel duel(left, "sora");
        duel.place(-20, 60);
        // Her orb's command ends as his suplex's starts: forward and the first button.
        if (std::string(left) == "kaede") {
            duel.step(frameOf(Direction::Down));
            duel.step(frameOf(Direction::DownRight));
        }
        suplex(duel);
        // Her orb left on the move's 13th step; his suplex holds.
        duel.idle(9);
        const MatchState saved = duel.match.save();
        ASSERT_TRUE(saved.projectiles[0].active || saved.grab.holding());
        const std::vector<std::uint8_t> bytes = MatchStateCodec::encode(saved);
        const std::optional<MatchState> decoded =
            MatchStateCodec::decode(bytes.data(), bytes.size());
        ASSERT_TRUE(decoded && duel.match.fits(*decoded));

        RandomInputs inputs(7);
        std::vector<StepInput> played;
        std::vector<std::uint64_t> checksums;
        for (int step = 0; step < 120; ++step) {
            played.push_back(inputs.next(duel.match.save()));
            duel.match.step(played.back());
            checksums.push_back(checksum(duel.match.save()));
        }
        for (const MatchState& start : {saved, *decoded}) {
            duel.match.restore(start);
            for (std::size_t step = 0; step < played.size(); ++step) {
                duel.match.step(played[step]);
                ASSERT_EQ(checksum(duel.match.save()), checksums[step]) << step;
            }
        }
    }
}
