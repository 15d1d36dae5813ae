#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "match/FrameDataProbe.h"
#include "match/checksum.h"
#include "replay/Replay.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "support/EngineEnvironment.h"
#include "support/InputFrames.h"
#include "support/RandomInputs.h"
#include "support/SteppedMatch.h"
#include "support/versusRules.h"
#include "match/StepPresenter.h"
#include "training/TrainingPlay.h"

namespace {

// The lab on a fresh match; every tick is one call of the driver, as the frame updater makes
// it, with the keyboard given as data.
class TrainingTest : public ::testing::Test {
protected:
    TrainingTest() : stepped(EngineEnvironment::app()) {}

    void makeLab(std::unique_ptr<Replay> replay = nullptr) {
        lab = std::make_unique<TrainingPlay>(match(), *stepped.game, std::move(replay));
    }

    void tick(StepInput keyboard = {}) { ASSERT_TRUE(lab->step(keyboard)); }
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
    match().load(paused);
    match().step(pressed);
    EXPECT_EQ(checksum(stepped), now());
    EXPECT_EQ(lab->stepsPlayed(), 31);
}

TEST_F(TrainingTest, F6HeldRepeatsAtTenStepsASecond) {
    makeLab();
    tap(&ProgramKeys::pause);
    StepInput stepKey;
    stepKey.keys.stepForward = true;
    for (int i = 0; i < 60; ++i)
        tick(stepKey);
    EXPECT_EQ(lab->stepsPlayed(), 10);
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

// The lab keeps the rules it was started with: F8 goes back to the first round's start.
TEST_F(TrainingTest, F8PutsAVersusMatchBackToItsFirstRound) {
    match().start(versusRules(MatchRules::defaultRounds, 30));
    const std::uint64_t start = now();
    makeLab();
    for (int i = 0; i < 200; ++i)
        tick();
    ASSERT_GT(match().roundState().round, 1);
    StepInput resetAndPause;
    resetAndPause.keys.reset = resetAndPause.keys.pause = true;
    tick(resetAndPause);
    EXPECT_EQ(now(), start);
}

TEST_F(TrainingTest, TheDummyRepeatsTheRecordingAndItsSpinningKickAfterTheSidesSwitch) {
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

    // The sides switched: the second fighter now stands on the left, facing right.
    MatchState switched = match().save();
    std::swap(switched.fighters[0].state.position, switched.fighters[1].state.position);
    match().load(switched);
    tick();
    ASSERT_FALSE(p2().state.facingLeft);

    tap(&ProgramKeys::playDummy);
    bool kicked = false;
    for (int i = 0; i < 8 && !kicked; ++i) {
        kicked = p2().state.action == PlayerState::Tatsu;
        tick();
    }
    EXPECT_TRUE(kicked);
    // Down-back facing right is down-left: the recording was played turned round.
    EXPECT_EQ(lab->dummy().frameAt(3, false).direction, Direction::DownLeft);

    tick(playersHolding(frameOf(Direction::Neutral), frameOf(Direction::Up)));
    EXPECT_FALSE(lab->dummyPlaying());
}

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
    match().load(start);
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
    EXPECT_EQ(meter.summary(0), "P1  startup " + std::to_string(data.startup) + "  advantage " +
                                    (advantage > 0 ? "+" : "") + std::to_string(advantage));
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
    std::unique_ptr<Replay> recordReplay(bool damaged) {
        const std::string path = testing::TempDir() + "lab" + std::to_string(getpid()) + ".vrp";
        const MatchState start = match().save();
        {
            ReplayRecorder recorder(path, 0);
            RandomInputs inputs(11);
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
        match().load(start);
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
