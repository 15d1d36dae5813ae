#include <cstdint>
#include <vector>

#include <Ogre.h>
#include <Overlay/OgreOverlayElement.h>
#include <Overlay/OgreOverlayManager.h>

#include "match/MatchTimeline.h"
#include "match/SyncTest.h"
#include "match/checksum.h"
#include "support/EngineEnvironment.h"
#include "support/MatchFixture.h"
#include "support/RandomInputs.h"

namespace {

// What the window shows after rendering one frame, with the panels' text, which a few pixels
// could hide.
struct Screen {
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(800 * 600 * 4);
    std::string panels;

    static Screen now() {
        Screen screen;
        EngineEnvironment::renderFrame();
        const Ogre::PixelBox box(800, 600, 1, Ogre::PF_BYTE_RGBA, screen.pixels.data());
        EngineEnvironment::app().getWindow()->copyContentsToMemory(box, box);
        for (const char* name : {"InputDataRows1", "InputDataRows2", "HealthText1", "HealthText2"})
            screen.panels +=
                Ogre::OverlayManager::getSingleton().getOverlayElement(name)->getCaption() + "|";
        return screen;
    }

    bool operator==(const Screen& other) const {
        return pixels == other.pixels && panels == other.panels;
    }
};

class MatchStateTest : public MatchFixture {
protected:
    // Random play with both debug displays on, so every display object has something to show.
    void play(RandomInputs& inputs, int steps) {
        for (int i = 0; i < steps; ++i) {
            StepInput input = inputs.next(theMatch().save());
            input.keys.hideDebugDisplays = false;
            input.keys.showInputPanels = input.keys.showHitboxes = true;
            match.step(input);
        }
    }

    Match& theMatch() { return *match.match; }
};

TEST_F(MatchStateTest, ALoadedStateShowsTheScreenOfAStraightRunToIt) {
    RandomInputs inputs(7);
    play(inputs, 400);
    const MatchState saved = theMatch().save();
    const Screen straight = Screen::now();

    play(inputs, 90);
    ASSERT_NE(checksum(theMatch().save()), checksum(saved));
    theMatch().restore(saved);
    match.show();
    EXPECT_EQ(checksum(theMatch().save()), checksum(saved));
    EXPECT_TRUE(Screen::now() == straight) << Screen::now().panels << "\n" << straight.panels;
}

TEST_F(MatchStateTest, AReRunDrawsEachStepOnceAndEndsOnTheScreenOfTheStraightRun) {
    RandomInputs inputs(11);
    play(inputs, 300);
    MatchTimeline timeline(theMatch());
    RandomInputs more(12);
    for (int i = 0; i < 60; ++i)
        timeline.advance(more.next(theMatch().save()));
    const Screen straight = Screen::now();

    timeline.resimulateFrom(timeline.now() - MatchTimeline::maxRollback);
    EXPECT_TRUE(Screen::now() == straight) << Screen::now().panels << "\n" << straight.panels;
}

// A change the steps did not make, as a rule reading something outside the state would cause,
// is named with its step when the sync test runs the steps again.
TEST_F(MatchStateTest, TheSyncTestNamesTheStepAndTheFieldThatDiffered) {
    SyncTest syncTest(theMatch(), 4);
    RandomInputs inputs(5);
    for (int i = 0; i < 20; ++i)
        syncTest.step(inputs.next(theMatch().save()));
    p2().state.health -= 1;
    try {
        for (int i = 0; i < 4; ++i)
            syncTest.step(inputs.next(theMatch().save()));
        FAIL() << "no mismatch was seen";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "The match lost sync at step 21: running steps 18 to 21 "
                                   "again changed Player2 health");
    }
}

// An hour of seeded random play, run straight once; then again, going back 1 to 8 steps after
// every step and running them again. Anything a rule reads from outside the match state makes
// the two runs part.
TEST_F(MatchStateTest, AnHourOfPlayComesOutTheSameWithARollbackAfterEveryStep) {
    const int steps = 60 * 60 * 60;
    const MatchState start = theMatch().save();
    std::vector<StepInput> script;
    std::vector<std::uint64_t> straight;
    script.reserve(steps);
    straight.reserve(steps);
    RandomInputs inputs(2026);
    for (int i = 0; i < steps; ++i) {
        script.push_back(inputs.next(theMatch().save()));
        theMatch().step(script.back());
        straight.push_back(checksum(theMatch().save()));
    }

    theMatch().restore(start);
    match.show();
    MatchTimeline timeline(theMatch());
    int mismatches = 0;
    int firstMismatch = -1;
    for (int i = 0; i < steps; ++i) {
        timeline.advance(script[i]);
        const int back = i % MatchTimeline::maxRollback + 1;
        timeline.resimulateFrom(std::max(timeline.oldest(), timeline.now() - back));
        if (checksum(theMatch().save()) == straight[i])
            continue;
        if (mismatches++ == 0)
            firstMismatch = i;
    }
    EXPECT_EQ(mismatches, 0) << "first at step " << firstMismatch;
    // The fighters met: hours of hits took their health far below the start.
    EXPECT_LT(theMatch().save().fighters[0].state.health, -10000);
    EXPECT_LT(theMatch().save().fighters[1].state.health, -10000);
}

} // namespace
