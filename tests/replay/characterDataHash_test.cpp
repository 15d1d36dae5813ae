#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include "replay/characterDataHash.h"
#include "roster/FighterFile.h"
#include "support/testFighters.h"

// The fingerprint the recordings made before fighters were files carry for their one fighter:
// the default fighter's file gives it still.
TEST(CharacterDataHashTest, TheDefaultFighterKeepsTheFingerprintOfEarlierRecordings) {
    EXPECT_EQ(characterDataHash(*defaultFighter()), 0x1c851b9a10a57172u);
}

// Each change a match could feel changes the hash; a second reading of the same file does not.
TEST(CharacterDataHashTest, FollowsTheDataByValue) {
    const std::uint64_t original = characterDataHash(*defaultFighter());
    const std::unique_ptr<CharacterData> read =
        FighterFile::read(testRoster().fighterFolder(Roster::defaultFighter));
    CharacterData& data = *read;
    ASSERT_EQ(characterDataHash(data), original);

    FrameAnimation& punch = data.animations[PlayerState::HP];
    MoveComponent& lastStep = data.moves.front().first->components.back();
    const std::pair<const char*, std::function<void(int)>> changes[] = {
        {"segment duration", [&](int d) { punch.hitProps.segments[1].duration += d; }},
        {"box", [&](int d) { punch.hitboxes.segments[1].value->attackBoxes[0].right += d; }},
        {"damage", [&](int d) { punch.hitProps.segments[1].value->damage += d; }},
        {"movement",
         [&](int d) {
             data.animations[PlayerState::WalkForward].movement.segments[0].value.x += d;
         }},
        {"motion window", [&](int d) { lastStep.window += d; }},
        {"sprite", [&](int d) { punch.sprite.segments[0].value += d; }},
    };
    for (const auto& [name, change] : changes) {
        change(1);
        EXPECT_NE(characterDataHash(data), original) << name;
        change(-1);
    }
    EXPECT_EQ(characterDataHash(data), original);
}
