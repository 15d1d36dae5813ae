#include <gtest/gtest.h>

#include <Overlay/OgreOverlayElement.h>
#include <Overlay/OgreOverlayManager.h>

#include "app/CpuDriver.h"
#include "app/CpuSettings.h"
#include "app/LocalPlay.h"
#include "replay/ReplayRecorder.h"
#include "cpu/CpuPlayer.h"
#include "support/EngineEnvironment.h"
#include "support/SteppedMatch.h"
#include "training/TrainingPlay.h"

namespace {

// The computer in the second seat of a real match, beside a twin of it that is shown the same
// states: what the driver lets the computer enter must be exactly what the twin chooses.
class CpuDriverTest : public ::testing::Test {
protected:
    CpuDriverTest() : stepped(EngineEnvironment::app()) {
        options.level = 5;
        options.seed = 9;
    }

    // One tick with the second player's keys held down and punch pressed: the computer's
    // frame must take their place. False when the tick ran no step.
    void tick(CpuDriver& driver, bool stepRuns, StepInput keyboard = {}) {
        keyboard.players[1].direction = Direction::Up;
        keyboard.players[1].pressed[0] = true;
        const int before = stepped.p2().history.frameCounter;
        const InputFrame expected = stepRuns ? twin.next(stepped.match->save()) : InputFrame{};
        ASSERT_TRUE(driver.step(keyboard));
        ASSERT_EQ(stepped.p2().history.frameCounter, before + (stepRuns ? 1 : 0));
        if (stepRuns) {
            ASSERT_EQ(stepped.p2().history.newest().inputBits(), expected.inputBits());
        }
    }

    SteppedMatch stepped;
    CpuSettings options;
    CpuPlayer twin{*stepped.match, 1, CpuLevel::of(5), 9};
};

} // namespace

TEST_F(CpuDriverTest, TheComputersFramesTakeTheSecondPlayersPlaceAndTheHudNamesIt) {
    CpuDriver driver(std::make_unique<LocalPlay>(*stepped.match), *stepped.match, options);
    EXPECT_EQ(Ogre::OverlayManager::getSingleton().getOverlayElement("CpuText")->getCaption(),
              "CPU 5");
    for (int i = 0; i < 300; ++i)
        tick(driver, true);
}

// Paused, the lab runs no step and the computer is not asked; on F5 it plays on in step.
TEST_F(CpuDriverTest, InTheLabTheComputerPlaysTheStepsThatRun) {
    CpuDriver driver(std::make_unique<TrainingPlay>(*stepped.match, *stepped.game, *stepped.view),
                     *stepped.match, options);
    StepInput pause;
    pause.keys.pause = true;
    for (int i = 0; i < 100; ++i)
        tick(driver, true);
    tick(driver, false, pause);
    for (int i = 0; i < 50; ++i)
        tick(driver, false);
    tick(driver, true, pause);
    for (int i = 0; i < 100; ++i)
        tick(driver, true);
}
