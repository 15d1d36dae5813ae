#include <gtest/gtest.h>

#include "support/FakeKeyboard.h"
#include "input/PlayerInputReader.h"

namespace {

struct KeyNames {
    OIS::KeyCode up, down, left, right, button0, button1;
};

const KeyNames firstPlayer = {OIS::KC_W, OIS::KC_S, OIS::KC_A, OIS::KC_D, OIS::KC_J, OIS::KC_K};
const KeyNames secondPlayer = {OIS::KC_UP,    OIS::KC_DOWN,    OIS::KC_LEFT,
                               OIS::KC_RIGHT, OIS::KC_NUMPAD1, OIS::KC_NUMPAD2};

class PlayerInputReaderTest : public ::testing::TestWithParam<bool> {
protected:
    bool second() const { return GetParam(); }
    const KeyNames& keys() const { return second() ? secondPlayer : firstPlayer; }

    InputFrame sample() { return reader.read(); }

    FakeKeyboard keyboard;
    PlayerInputReader reader{&keyboard, second()};
};

TEST_P(PlayerInputReaderTest, DirectionsFollowTheNumpadWithUpAndRightWinningTies) {
    struct Case {
        std::vector<OIS::KeyCode KeyNames::*> held;
        Direction::eDirection expected;
    };
    const std::vector<Case> cases = {
        {{}, Direction::Neutral},
        {{&KeyNames::down, &KeyNames::left}, Direction::DownLeft},
        {{&KeyNames::down}, Direction::Down},
        {{&KeyNames::down, &KeyNames::right}, Direction::DownRight},
        {{&KeyNames::left}, Direction::Left},
        {{&KeyNames::right}, Direction::Right},
        {{&KeyNames::up, &KeyNames::left}, Direction::UpLeft},
        {{&KeyNames::up}, Direction::Up},
        {{&KeyNames::up, &KeyNames::right}, Direction::UpRight},
        {{&KeyNames::up, &KeyNames::down}, Direction::Up},
        {{&KeyNames::up, &KeyNames::down, &KeyNames::right}, Direction::UpRight},
        {{&KeyNames::left, &KeyNames::right}, Direction::Right},
        {{&KeyNames::down, &KeyNames::left, &KeyNames::right}, Direction::DownRight},
        {{&KeyNames::up, &KeyNames::down, &KeyNames::left, &KeyNames::right}, Direction::UpRight},
    };
    for (const Case& c : cases) {
        keyboard.releaseAll();
        for (OIS::KeyCode KeyNames::*key : c.held)
            keyboard.press(keys().*key);
        EXPECT_EQ(sample().direction, c.expected) << "case giving " << c.expected;
    }
}

TEST_P(PlayerInputReaderTest, LeftWinsTheTieWhenAskedTo) {
    reader.leftWinsTie = true;
    keyboard.press(keys().left);
    keyboard.press(keys().right);
    EXPECT_EQ(sample().direction, Direction::Left);
}

TEST_P(PlayerInputReaderTest, ReportsOnlyNewPresses) {
    // Held when the first step runs: a press in that very first frame.
    keyboard.press(keys().button1);
    EXPECT_TRUE(sample().pressed[1]);
    keyboard.release(keys().button1);

    keyboard.press(keys().button0);
    EXPECT_TRUE(sample().pressed[0]);
    for (int i = 0; i < 9; ++i) {
        const InputFrame frame = sample();
        EXPECT_FALSE(frame.pressed[0]);
        EXPECT_FALSE(frame.pressed[1]);
    }
    keyboard.release(keys().button0);
    EXPECT_FALSE(sample().pressed[0]);
    keyboard.press(keys().button0);
    EXPECT_TRUE(sample().pressed[0]);

    // Both buttons pressed in the same step both count.
    keyboard.releaseAll();
    sample();
    keyboard.press(keys().button0);
    keyboard.press(keys().button1);
    const InputFrame both = sample();
    EXPECT_TRUE(both.pressed[0]);
    EXPECT_TRUE(both.pressed[1]);
}

TEST_P(PlayerInputReaderTest, IgnoresTheOtherPlayersKeys) {
    const KeyNames& other = second() ? firstPlayer : secondPlayer;
    for (OIS::KeyCode key :
         {other.up, other.down, other.left, other.right, other.button0, other.button1})
        keyboard.press(key);
    const InputFrame frame = sample();
    EXPECT_EQ(frame.direction, Direction::Neutral);
    EXPECT_FALSE(frame.pressed[0]);
    EXPECT_FALSE(frame.pressed[1]);
}

INSTANTIATE_TEST_SUITE_P(BothKeySets, PlayerInputReaderTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "SecondPlayer" : "FirstPlayer";
                         });

TEST(PlayerInputReaders, TwoPlayersOnOneKeyboardAreIndependent) {
    FakeKeyboard keyboard;
    PlayerInputReader first(&keyboard, false);
    PlayerInputReader second(&keyboard, true);

    keyboard.press(OIS::KC_S);
    keyboard.press(OIS::KC_K);
    keyboard.press(OIS::KC_RIGHT);
    keyboard.press(OIS::KC_UP);
    keyboard.press(OIS::KC_NUMPAD1);
    InputFrame firstFrame = first.read();
    InputFrame secondFrame = second.read();
    EXPECT_EQ(firstFrame.direction, Direction::Down);
    EXPECT_FALSE(firstFrame.pressed[0]);
    EXPECT_TRUE(firstFrame.pressed[1]);
    EXPECT_EQ(secondFrame.direction, Direction::UpRight);
    EXPECT_TRUE(secondFrame.pressed[0]);
    EXPECT_FALSE(secondFrame.pressed[1]);

    // Releasing one player's button does not make the other's held button new again.
    keyboard.release(OIS::KC_K);
    first.read();
    EXPECT_FALSE(second.read().pressed[0]);
    keyboard.press(OIS::KC_K);
    firstFrame = first.read();
    secondFrame = second.read();
    EXPECT_TRUE(firstFrame.pressed[1]);
    EXPECT_FALSE(secondFrame.pressed[0]);
}

TEST(Directions, MirroringSwapsLeftAndRightOnlyForAFighterFacingLeft) {
    const int mirroredDigit[9] = {3, 2, 1, 6, 5, 4, 9, 8, 7};
    for (int d = 0; d < 9; ++d) {
        const auto direction = static_cast<Direction::eDirection>(d);
        EXPECT_EQ(mirrorDirection(direction, false), direction);
        EXPECT_EQ(mirrorDirection(direction, true), mirroredDigit[d] - 1);
        InputFrame frame;
        frame.direction = direction;
        EXPECT_EQ(frame.relativeDirection(true), mirroredDigit[d] - 1);
    }
}

} // namespace
