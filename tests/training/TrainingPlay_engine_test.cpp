#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <OgreSceneNode.h>
#include <Overlay/OgreOverlayElement.h>
#include <Overlay/OgreOverlayManager.h>
#include <unistd.h>

#include "match/FrameDataProbe.h"
#include "match/StepPresenter.h"
#include "match/checksum.h"
#include "render/DisplayEntity.h"
#include "replay/Replay.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "support/EngineEnvironment.h"
#include "support/InputFrames.h"
#include "support/RandomInputs.h"
#include "support/SteppedMatch.h"
#include "support/testFighters.h"
#include "support/versusRules.h"
#include "training/TrainingPlay.h"

namespace {

// The lab on a fresh match; every tick is one call of the driver, as the frame updater makes
// it, with the keyboard given as data.
class TrainingTest : public ::testing::Test {
protected:
    TrainingTest() : stepped(EngineEnvironment::app()) {}

    void makeLab(std::unique_ptr<Replay> replay = nullptr) {
        lab.reset();
        lab = std::make_unique<TrainingPlay>(match(), *stepped.game, *stepped.view,
                                             std::move(replay));
    }

    // Each tick is shown, as the frame loop draws it.
    void tick(StepInput keyboard = {}) {
        ASSERT_TRUE(lab->step(keyboard));
        stepped.show();
    }
    // A training key down for one tick (its setter picks the key), then up for one.
    void tap(bool ProgramKeys::*key, StepInput keyboard = {}) {
        keyboard.keys.*key = true;
        tick(keyboard);
        tick();
    }
    std::uint64_t now() { return checksum(match().save()); }
    Match& match() { return *stepped.match; }
    Player& p2() { return stepped.p2(); }

    SteppedMatch stepped;
    std::unique_ptr<TrainingPlay> lab;
};

StepInput playersHolding(InputFrame first, InputFrame second) {
    StepInput input;
    input.players[0] = first;
    input.players[1] = second;
    return input;
}

} // namespace

TEST_F(TrainingTest, APausedMatchRunsNoStepAndF6RunsOneWithTheKeysHeldThen) {
    makeLab();
    for (int i = 0; i < 30; ++i)
        tick();
    tap(&ProgramKeys::pause);
    const MatchState paused = match().save();
    // The punch is pressed while paused, then held with the stick.
    const StepInput pressed = playersHolding(frameOf(Direction::Right, true), frameOf(Direction::Left));
    const StepInput held = playersHolding(frameOf(Direction::Right), frameOf(Direction::Left));
    tick(pressed);
    for (int i = 0; i < 120; ++i)
        tick(held);
    EXPECT_EQ(now(), checksum(paused));
    EXPECT_EQ(lab->stepsPlayed(), 30);

    StepInput stepKey = held;
    stepKey.keys.stepForward = true;
    tick(stepKey);
    const MatchState stepped = match().save();
    match().restore(paused);
    match().step(pressed);
    EXPECT_EQ(checksum(stepped), now());
    EXPECT_EQ(lab->stepsPlayed(), 31);
}

// A tap of 0.1 s is one step; held, the repeat starts after 0.25 s at 10 steps a second.
TEST_F(TrainingTest, F6TappedStepsOnceAndHeldRepeatsAfterAQuarterSecond) {
    const struct {
        int heldTicks, steps;
    } cases[] = {{6, 1}, {16, 2}, {60, 9}};
    makeLab();
    tap(&ProgramKeys::pause);
    StepInput stepKey;
    stepKey.keys.stepForward = true;
    for (const auto& c : cases) {
        const int before = lab->stepsPlayed();
        for (int i = 0; i < c.heldTicks; ++i)
            tick(stepKey);
        tick();
        EXPECT_EQ(lab->stepsPlayed() - before, c.steps) << c.heldTicks << " ticks";
    }
}

// A button pressed while paused is for F6 alone: F5 or F8 drop it, and no punch follows.
TEST_F(TrainingTest, F5AndF8DropAButtonPressedWhilePaused) {
    for (bool ProgramKeys::*key : {&ProgramKeys::pause, &ProgramKeys::reset}) {
        makeLab();
        tap(&ProgramKeys::pause);
        tick(playersHolding(frameOf(Direction::Neutral, true), frameOf(Direction::Neutral)));
        tap(key);
        if (lab->paused())
            tap(&ProgramKeys::stepForward);
        EXPECT_FALSE(stepped.p1().state.attacking) << (key == &ProgramKeys::pause ? "F5" : "F8");
    }
}

// F8 and F7 to the first step show the start as the game does: the fighters face each other.
TEST_F(TrainingTest, TheStartShownPausedHasTheFightersFacingEachOther) {
    for (bool ProgramKeys::*key : {&ProgramKeys::reset, &ProgramKeys::stepBack}) {
        makeLab();
        for (int i = 0; i < 10; ++i)
            tick();
        tap(&ProgramKeys::pause);
        StepInput keyboard;
        keyboard.keys.*key = true;
        for (int i = 0; i < 60; ++i)
            tick(keyboard);
        ASSERT_EQ(lab->stepsPlayed(), 0);
        EXPECT_NE(stepped.view->fighter(1).getNode()->getOrientation(), Ogre::Quaternion::IDENTITY)
            << (key == &ProgramKeys::reset ? "F8" : "F7");
    }
}

TEST_F(TrainingTest, PlayingOnFromARewoundStepRunsAsTheStraightRunDid) {
    makeLab();
    RandomInputs inputs(3);
    std::vector<StepInput> played;
    std::vector<std::uint64_t> straight;
    for (int i = 0; i < 600; ++i) {
        played.push_back(inputs.next(match().save()));
        tick(played.back());
        straight.push_back(now());
    }
    StepInput back;
    back.keys.stepBack = true;
    for (int i = 0; i < 300; ++i)
        tick(back);
    ASSERT_EQ(lab->stepsPlayed(), 300);
    EXPECT_EQ(now(), straight[299]);
    for (int i = 300; i < 600; ++i) {
        tick(played[static_cast<std::size_t>(i)]);
        ASSERT_EQ(now(), straight[static_cast<std::size_t>(i)]) << "step " << i + 1;
    }
}

TEST_F(TrainingTest, RewindingGoesNoFurtherThanTenSeconds) {
    makeLab();
    for (int i = 0; i < 700; ++i)
        tick();
    StepInput back;
    back.keys.stepBack = true;
    for (int i = 0; i < 650; ++i)
        tick(back);
    EXPECT_EQ(lab->stepsPlayed(), 100);
    EXPECT_GT(lab->history().bytes(), 0u);
}

TEST_F(TrainingTest, F8PutsTheStartBackAndKeepsTheDisplaysSwitches) {
    MatchState start = match().save();
    makeLab();
    RandomInputs inputs(5);
    StepInput showBoxes;
    showBoxes.keys.showHitboxes = true;
    tick(showBoxes);
    for (int i = 0; i < 200; ++i)
        tick(inputs.next(match().save()));
    // With F5 in the same tick, so no step runs from the start.
    StepInput resetAndPause;
    resetAndPause.keys.reset = resetAndPause.keys.pause = true;
    tick(resetAndPause);
    start.fighters[0].hitboxesShown = start.fighters[1].hitboxesShown = true;
    EXPECT_EQ(now(), checksum(start));
    EXPECT_TRUE(lab->history().empty());
}

// In a versus match the meter stands clear of the health figures and the round wins under them.
TEST_F(TrainingTest, InVersusTheMeterLeavesTheHealthAndTheRoundWinsReadable) {
    match().start(versusRules(MatchRules::defaultRounds, 600));
    makeLab();
    tap(&ProgramKeys::frameMeter);
    EngineEnvironment::renderFrame();
    const auto span = [](const char* name) {
        Ogre::OverlayElement* shown = Ogre::OverlayManager::getSingleton().getOverlayElement(name);
        return std::make_pair(shown->_getDerivedTop(), shown->_getDerivedTop() + shown->_getHeight());
    };
    const auto meter = span("TrainingMeterBand");
    for (const char* name : {"Health1", "RoundWins1"}) {
        const auto other = span(name);
        EXPECT_TRUE(meter.second <= other.first || other.second <= meter.first) << name;
    }
}

// The lab keeps the rules it was started with: F8 goes back to the first round's start.
TEST_F(TrainingTest, F8PutsAVersusMatchBackToItsFirstRound) {
    match().start(versusRules(MatchRules::defaultRounds, 30));
    const std::uint64_t start = now();
    makeLab();
    for (int i = 0; i < 300; ++i)
        tick();
    ASSERT_GT(match().roundState().round, 1);
    StepInput resetAndPause;
    resetAndPause.keys.reset = resetAndPause.keys.pause = true;
    tick(resetAndPause);
    EXPECT_EQ(now(), start);
}

// The dummy's recording of the second player, on the right: up, at rest, then down held.
class DummyTest : public TrainingTest {
protected:
    void recordDummy() {
        makeLab();
        tap(&ProgramKeys::recordDummy, playersHolding(frameOf(Direction::Neutral), frameOf(Direction::Up)));
        for (int i = 0; i < 10; ++i)
            tick(playersHolding(frameOf(Direction::Neutral), frameOf(Direction::Down)));
    }
};

// Going back while recording drops what was undone; playing on records from there.
TEST_F(DummyTest, F7WhileRecordingDropsTheStepsItTakesBack) {
    recordDummy();
    StepInput back;
    back.keys.stepBack = true;
    for (int i = 0; i < 4; ++i)
        tick(back);
    EXPECT_EQ(lab->dummy().size(), 12 - 4);
}

// After a reset the dummy plays its recording from the first step.
TEST_F(DummyTest, F8StartsThePlaybackFromItsFirstStep) {
    recordDummy();
    tap(&ProgramKeys::recordDummy);
    tap(&ProgramKeys::playDummy);
    tick();
    StepInput reset;
    reset.keys.reset = true;
    tick(reset);
    EXPECT_EQ(p2().history.newest().direction, Direction::Up);
}

// Recorded on the right facing left, the spinning kick comes out on the same side and after the
// sides have switched: the recording is turned to the fighter's facing either way.
class DummySidesTest : public TrainingTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DummySidesTest, TheDummyRepeatsTheSpinningKickFromEitherSide) {
    const bool switchSides = GetParam();
    makeLab();
    // The second fighter, on the right facing left, enters the spinning kick: down, down-back
    // (down-right for it), back (right), kick.
    const std::vector<InputFrame> kick = {frameOf(Direction::Down), frameOf(Direction::DownRight),
                                          frameOf(Direction::Right, false, true)};
    tap(&ProgramKeys::recordDummy);
    for (const InputFrame& frame : kick)
        tick(playersHolding(frameOf(Direction::Neutral), frame));
    tap(&ProgramKeys::recordDummy);
    // The two ticks of the tap at rest, then the command.
    ASSERT_EQ(lab->dummy().size(), 5);
    for (int i = 0; i < 120; ++i)
        tick();

    // Switched, the second fighter stands on the left, facing right.
    if (switchSides) {
        MatchState switched = match().save();
        std::swap(switched.fighters[0].state.position, switched.fighters[1].state.position);
        match().restore(switched);
        tick();
    }
    ASSERT_EQ(p2().state.facingLeft, !switchSides);

    tap(&ProgramKeys::playDummy);
    bool kicked = false;
    for (int i = 0; i < 8 && !kicked; ++i) {
        kicked = p2().state.action == PlayerState::Tatsu;
        tick();
    }
    EXPECT_TRUE(kicked);

    tick(playersHolding(frameOf(Direction::Neutral), frameOf(Direction::Up)));
    EXPECT_FALSE(lab->dummyPlaying());
}

INSTANTIATE_TEST_SUITE_P(BeforeAndAfterTheSidesSwitch, DummySidesTest, ::testing::Bool());

// The meter's figures for a move, played on the lab as the frame-data probe plays it: the left
// fighter presses it against the right one standing (or holding back) 60 apart.
struct MeterCase {
    PlayerState::Action move;
    bool blocking;
};

class MeterTest : public TrainingTest, public ::testing::WithParamInterface<MeterCase> {};

TEST_P(MeterTest, TheMetersFiguresAreTheFrameData) {
    const MeterCase c = GetParam();
    MoveFrameData data;
    {
        FrameDataProbe probe(*stepped.game);
        data = probe.measure(c.move);
    }
    MatchState start;
    start.fighters[1].state.position.x = FrameDataProbe::distance;
    start.fighters[1].state.facingLeft = true;
    match().restore(start);
    makeLab();

    std::vector<InputFrame> command = {frameOf(Direction::Neutral, true)};
    if (c.move == PlayerState::Tatsu)
        command = {frameOf(Direction::Down), frameOf(Direction::DownLeft),
                   frameOf(Direction::Left, false, true)};
    const InputFrame defender = frameOf(c.blocking ? Direction::Right : Direction::Neutral);
    for (const InputFrame& frame : command)
        tick(playersHolding(frame, frameOf(Direction::Neutral)));
    for (int i = 0; i < 300 && !lab->meter().finished; ++i)
        tick(playersHolding(frameOf(Direction::Neutral), defender));

    const FrameMeter& meter = lab->meter();
    ASSERT_TRUE(meter.finished);
    const int advantage = (c.blocking ? data.onBlock : data.onHit).back().advantage;
    EXPECT_EQ(meter.rows[0].startup, data.startup);
    EXPECT_EQ(meter.rows[0].advantage, advantage);
    const auto signedText = [](int value) { return (value > 0 ? "+" : "") + std::to_string(value); };
    EXPECT_EQ(meter.summary(0), "P1  startup " + std::to_string(data.startup) + "  advantage " +
                                    signedText(advantage));
    // The defender made no move; its advantage is the attacker's, turned round.
    EXPECT_EQ(meter.summary(1), "P2  advantage " + signedText(-advantage));
}

INSTANTIATE_TEST_SUITE_P(Moves, MeterTest,
                         ::testing::Values(MeterCase{PlayerState::HP, false},
                                           MeterCase{PlayerState::HP, true},
                                           MeterCase{PlayerState::Tatsu, false},
                                           MeterCase{PlayerState::Tatsu, true}));

// Keys in an order that makes no sense change nothing and say why.
TEST_F(TrainingTest, KeysOutOfOrderOnlyTellTheStatusLine) {
    makeLab();
    struct Case {
        bool ProgramKeys::*key;
        bool paused;
        const char* says;
    };
    const Case cases[] = {
        {&ProgramKeys::stepBack, true, "nothing older"},
        {&ProgramKeys::playDummy, true, "no dummy recording"},
        {&ProgramKeys::takeOver, true, "takes over a replay"},
        {&ProgramKeys::stepForward, false, "only while paused"},
    };
    for (const Case& c : cases) {
        if (c.paused != lab->paused())
            tap(&ProgramKeys::pause);
        const std::uint64_t before = now();
        StepInput keyboard;
        keyboard.keys.*c.key = true;
        tick(keyboard);
        EXPECT_NE(lab->status().find(c.says), std::string::npos) << lab->status();
        if (c.paused) {
            EXPECT_EQ(now(), before) << c.says;
        }
    }
    // Playing on from the last case: two steps recorded, then played.
    tap(&ProgramKeys::recordDummy);
    tap(&ProgramKeys::recordDummy);
    tap(&ProgramKeys::playDummy);
    tap(&ProgramKeys::recordDummy);
    EXPECT_NE(lab->status().find("the dummy is playing"), std::string::npos) << lab->status();
    EXPECT_EQ(lab->dummy().size(), 2);
}

// A replay in the lab: checked step by step until F11, then the keyboard's.
class TrainingReplayTest : public TrainingTest {
protected:
    // 180 steps of random play, recorded from the match's start or, as a spectator who joined
    // late records them, from its step `from`.
    std::unique_ptr<Replay> recordReplay(bool damaged, int from = 0) {
        const std::string path = testing::TempDir() + "lab" + std::to_string(getpid()) + ".vrp";
        const MatchState start = match().save();
        RandomInputs inputs(11);
        for (int i = 0; i < from; ++i)
            match().step(inputs.next(match().save()));
        const MatchState joined = match().save();
        {
            ReplayRecorder recorder(path, defaultLineup(), {}, joined.rules,
                                    from > 0 ? &joined : nullptr, from);
            for (int i = 0; i < 180; ++i) {
                const StepInput input = inputs.next(match().save());
                match().step(input);
                recorder.record(input, match().save());
            }
        }
        auto replay = std::make_unique<Replay>(readReplay(path));
        std::filesystem::remove(path);
        if (damaged)
            replay->checkpoints[1] ^= 1;
        match().restore(start);
        return replay;
    }
};

TEST_F(TrainingReplayTest, AReplayIsCheckedUntilTakenOver) {
    makeLab(recordReplay(true));
    for (int i = 0; i < 60; ++i)
        tick();
    tap(&ProgramKeys::pause);
    StepInput back;
    back.keys.stepBack = true;
    tick(back);
    EXPECT_EQ(lab->stepsPlayed(), 59);
    tap(&ProgramKeys::pause);
    for (int i = 0; i < 40; ++i)
        tick();
    EXPECT_THROW(
        for (int i = 0; i < 40; ++i) tick(), std::runtime_error);
}

namespace {

// What the lab lets the sound hear: "step N" for each step run, "silence" when it jumps.
class HeardSteps : public StepPresenter {
public:
    void stepRan(int step, const MatchState&, const MatchState&) override {
        events.push_back("step " + std::to_string(step));
    }
    void silence() override { events.push_back("silence"); }

    std::vector<std::string> take() { return std::exchange(events, {}); }

private:
    std::vector<std::string> events;
};

} // namespace

// A spectator's recording from the middle of a match: the lab starts where it starts, its steps
// heard under the match's numbers, checked against the recording, and F7 and F8 go back there.
TEST_F(TrainingReplayTest, ARecordingFromTheMiddleOfAMatchStartsThere) {
    std::unique_ptr<Replay> replay = recordReplay(false, 100);
    const MatchState joined = *replay->start;
    // The viewer's displays stay as they are.
    const auto matchWithout = [](MatchState state) {
        for (std::size_t side = 0; side < 2; ++side)
            state.fighters[side].hitboxesShown = state.panels[side].visible = false;
        return checksum(state);
    };
    makeLab(std::move(replay));
    EXPECT_EQ(now(), checksum(joined));
    HeardSteps heard;
    lab->presentTo(heard);
    for (int i = 0; i < 130; ++i)
        tick();
    EXPECT_EQ(heard.take().front(), "step 100");
    // Paused, so that no step runs after the key.
    tap(&ProgramKeys::pause);
    tap(&ProgramKeys::reset);
    EXPECT_EQ(lab->stepsPlayed(), 0);
    EXPECT_EQ(matchWithout(match().save()), matchWithout(joined));
    tap(&ProgramKeys::stepForward);
    tap(&ProgramKeys::stepBack);
    EXPECT_EQ(matchWithout(match().save()), matchWithout(joined));
    tap(&ProgramKeys::pause);
    for (int i = 0; i < 180; ++i)
        tick();
    EXPECT_TRUE(lab->paused()) << "the replay did not play to its end";
}

TEST_F(TrainingReplayTest, AfterTheTakeOverTheKeyboardDrives) {
    makeLab(recordReplay(true));
    for (int i = 0; i < 100; ++i)
        tick();
    tap(&ProgramKeys::takeOver);
    const MatchState before = match().save();
    const StepInput walk = playersHolding(frameOf(Direction::Left), frameOf(Direction::Neutral));
    for (int i = 0; i < 200; ++i)
        tick(walk);
    EXPECT_EQ(lab->stepsPlayed(), 302);
    EXPECT_LT(stepped.p1().state.position.x, before.fighters[0].state.position.x);
}

// Paused, nothing is heard; F6 is heard as its one step; going back and resetting silence what
// plays and are not heard as steps.
TEST_F(TrainingTest, TheSoundHearsOnlyTheStepsThatRunAndIsSilencedByJumps) {
    makeLab();
    HeardSteps heard;
    lab->presentTo(heard);
    tick();
    tick();
    EXPECT_EQ(heard.take(), (std::vector<std::string>{"step 0", "step 1"}));
    tap(&ProgramKeys::pause);
    tick();
    EXPECT_EQ(heard.take(), std::vector<std::string>{"silence"});
    tap(&ProgramKeys::stepForward);
    EXPECT_EQ(heard.take(), std::vector<std::string>{"step 2"});
    tap(&ProgramKeys::stepBack);
    EXPECT_EQ(heard.take(), std::vector<std::string>{"silence"});
    tap(&ProgramKeys::reset);
    EXPECT_EQ(heard.take(), std::vector<std::string>{"silence"});
}

// Paused, a tick leaves the picture as it was unless a key acts on what is shown or the status
// line changes (a notice running out); playing, every tick changes it.
TEST_F(TrainingTest, APausedTickChangesThePictureOnlyWhenWhatIsShownChanges) {
    makeLab();
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_TRUE(lab->pictureChanged());
    tap(&ProgramKeys::pause);
    tick();
    EXPECT_FALSE(lab->pictureChanged());
    const std::pair<bool ProgramKeys::*, const char*> acting[] = {
        {&ProgramKeys::showHitboxes, "F3"}, {&ProgramKeys::frameMeter, "F4"},
        {&ProgramKeys::stepForward, "F6"}, {&ProgramKeys::stepBack, "F7"},
        {&ProgramKeys::reset, "F8"}, {&ProgramKeys::playDummy, "F10"}};
    for (const auto& [key, name] : acting) {
        StepInput down;
        down.keys.*key = true;
        tick(down);
        EXPECT_TRUE(lab->pictureChanged()) << name;
        tick();
        tick();
        EXPECT_FALSE(lab->pictureChanged()) << name;
    }
    // F10's notice (no recording) runs out on exactly one of the ticks that follow.
    int changedTicks = 0;
    for (int i = 0; i < TrainingPlay::noticeTicks; ++i) {
        tick();
        changedTicks += lab->pictureChanged();
    }
    EXPECT_EQ(changedTicks, 1);
}

// At the replay's end the lab stands paused: a tap of F7 is one step back, and no tick plays it
// again.
TEST_F(TrainingReplayTest, AtTheReplaysEndTheLabStandsPaused) {
    makeLab(recordReplay(false));
    for (int i = 0; i < 180; ++i)
        tick();
    tap(&ProgramKeys::stepBack);
    for (int i = 0; i < 10; ++i)
        tick();
    EXPECT_EQ(lab->stepsPlayed(), 179);
}

// The viewer's F1 to F3 switch the displays over a replay, playing, paused and rewound, and the
// check against the recording goes on: an intact replay plays to its end, a damaged one still
// fails at its damaged checkpoint.
class ViewerKeysTest : public TrainingReplayTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ViewerKeysTest, TheViewersDisplayKeysLeaveTheCheckAlone) {
    const bool damaged = GetParam();
    makeLab(recordReplay(damaged));
    StepInput keyboard;
    keyboard.keys.showInputPanels = true;
    tick(keyboard);
    for (int i = 0; i < 50; ++i)
        tick();
    ASSERT_TRUE(match().save().panels[0].visible);
    tap(&ProgramKeys::pause);
    keyboard.keys.showHitboxes = true;
    tick(keyboard);
    ASSERT_TRUE(stepped.p1().hitboxesShown);
    tap(&ProgramKeys::stepBack);
    tap(&ProgramKeys::pause);
    const auto playOn = [this] {
        for (int i = 0; i < 200; ++i)
            tick();
    };
    if (damaged)
        EXPECT_THROW(playOn(), std::runtime_error);
    else
        EXPECT_NO_THROW(playOn());
}

INSTANTIATE_TEST_SUITE_P(IntactAndDamaged, ViewerKeysTest, ::testing::Bool());
