#include <gtest/gtest.h>

#include "input/InputSystem.h"
#include "support/FakeKeyboard.h"

namespace {

class InputSystemTest : public ::testing::Test {
protected:
    FakeKeyboard keyboard;
    InputSystem input{&keyboard};
};

TEST_F(InputSystemTest, EscapesStepCarriesNoPlayersInputAndRunsNoReader) {
    for (OIS::KeyCode key : {OIS::KC_ESCAPE, OIS::KC_F1, OIS::KC_D, OIS::KC_J})
        keyboard.press(key);
    const StepInput quit = input.sample();
    EXPECT_TRUE(quit.keys.quit);
    EXPECT_FALSE(quit.keys.hideDebugDisplays);
    EXPECT_EQ(quit.players[0].direction, Direction::Neutral);
    EXPECT_FALSE(quit.players[0].pressed[0]);

    // The reader did not see J in that step, so J is still a new press in the next one.
    keyboard.release(OIS::KC_ESCAPE);
    EXPECT_TRUE(input.sample().players[0].pressed[0]);
}

TEST_F(InputSystemTest, TheFirstKeySetMakesTheFirstFrameAndTheSecondTheSecond) {
    for (OIS::KeyCode key : {OIS::KC_D, OIS::KC_K, OIS::KC_LEFT, OIS::KC_NUMPAD1, OIS::KC_F1,
                             OIS::KC_F2, OIS::KC_F3})
        keyboard.press(key);
    const StepInput step = input.sample();
    EXPECT_EQ(step.players[0].direction, Direction::Right);
    EXPECT_TRUE(step.players[0].pressed[1]);
    EXPECT_FALSE(step.players[0].pressed[0]);
    EXPECT_EQ(step.players[1].direction, Direction::Left);
    EXPECT_TRUE(step.players[1].pressed[0]);
    EXPECT_FALSE(step.players[1].pressed[1]);
    EXPECT_TRUE(step.keys.hideDebugDisplays && step.keys.showInputPanels && step.keys.showHitboxes);
    EXPECT_FALSE(step.keys.quit);
}

TEST_F(InputSystemTest, ATapBetweenTwoStepsIsSeenInTheNextStepOnce) {
    keyboard.queuePress(OIS::KC_F3);
    keyboard.queueRelease(OIS::KC_F3);
    keyboard.queuePress(OIS::KC_J);
    keyboard.queueRelease(OIS::KC_J);
    const StepInput tapped = input.sample();
    EXPECT_TRUE(tapped.keys.showHitboxes);
    EXPECT_TRUE(tapped.players[0].pressed[0]);
    const StepInput after = input.sample();
    EXPECT_FALSE(after.keys.showHitboxes);
    EXPECT_FALSE(after.players[0].pressed[0]);
}

} // namespace
