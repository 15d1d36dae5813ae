#include <gtest/gtest.h>

#include "support/InputFrames.h"
#include "training/DummyRecording.h"
#include "training/FrameMeter.h"
#include "training/RewindHistory.h"

namespace {

FrameMeter::Sample attacking(bool live = false) {
    FrameMeter::Sample sample;
    sample.before.attacking = sample.after.attacking = true;
    sample.attackLive = live;
    return sample;
}

} // namespace

// A move that hits nothing: a startup, no advantage; longer than the bar, it scrolls.
TEST(FrameMeter, AWhiffLongerThanTheBarScrollsAndShowsOnlyItsStartup) {
    FrameMeter meter;
    FrameMeter::Sample press;
    press.after.attacking = true;
    meter.step(press, {});
    for (int i = 1; i < 200; ++i)
        meter.step(attacking(i >= 4 && i < 10), {});
    meter.step({}, {});

    EXPECT_EQ(meter.length, 200);
    EXPECT_EQ(meter.firstShown(), 200 - FrameMeter::barLength);
    EXPECT_EQ(meter.cell(0, 199), FrameMeter::Cell::Recovery);
    EXPECT_EQ(meter.cell(1, 199), FrameMeter::Cell::Free);
    EXPECT_EQ(meter.summary(0), "P1  startup 5");
    EXPECT_EQ(meter.summary(1), "P2");
}

TEST(RewindHistory, KeepsTheNewestStepsAndGivesThemBackNewestFirst) {
    RewindHistory history;
    RewindHistory::Entry entry;
    for (entry.step = 0; entry.step < RewindHistory::capacity + 50; ++entry.step)
        history.push(entry);
    ASSERT_EQ(history.size(), RewindHistory::capacity);
    EXPECT_EQ(history.pop().step, RewindHistory::capacity + 49);
    while (history.size() > 1)
        history.pop();
    EXPECT_EQ(history.pop().step, 50);
    EXPECT_TRUE(history.empty());
}

TEST(DummyRecording, KeepsTenSecondsFacingRelativeAndLoops) {
    DummyRecording dummy;
    EXPECT_TRUE(dummy.record(frameOf(Direction::DownRight, false, true), true));
    for (int i = 1; i < DummyRecording::maxSteps; ++i)
        dummy.record(frameOf(Direction::Up), true);
    EXPECT_FALSE(dummy.record(frameOf(Direction::Up), true));
    // Recorded as down-back facing left: played facing right it is down-left, kick and all;
    // played on the same side it is down-right again.
    const InputFrame again = dummy.frameAt(DummyRecording::maxSteps, false);
    EXPECT_EQ(again.direction, Direction::DownLeft);
    EXPECT_TRUE(again.pressed[1]);
    EXPECT_EQ(dummy.frameAt(0, true).direction, Direction::DownRight);
}
