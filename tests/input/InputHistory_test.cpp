#include <gtest/gtest.h>

#include "input/InputHistory.h"
#include "input/InputPanel.h"
#include "support/InputFrames.h"

namespace {

bool sameFrame(const InputFrame& a, const InputFrame& b) {
    return a.direction == b.direction && a.pressed[0] == b.pressed[0] &&
           a.pressed[1] == b.pressed[1] && a.frameNumber == b.frameNumber;
}

TEST(InputHistory, StartsFullOfUnnumberedNeutralFrames) {
    const InputHistory history(60);
    ASSERT_EQ(history.frames.size(), 60u);
    EXPECT_EQ(history.frameCounter, 0);
    EXPECT_EQ(history.listener, nullptr);
    for (const InputFrame& frame : history)
        EXPECT_TRUE(sameFrame(frame, InputFrame()));
    EXPECT_TRUE(sameFrame(history.newest(), InputFrame()));
}

TEST(InputHistory, NumbersFramesAndKeepsTheNewestFirstAtAFixedLength) {
    InputHistory history(60);
    history.push(frameOf(Direction::Down, false, true));
    const InputFrame first = history.newest();
    EXPECT_EQ(first.frameNumber, 1);
    EXPECT_EQ(first.direction, Direction::Down);
    EXPECT_TRUE(first.pressed[1]);
    EXPECT_EQ(history.frames.back().frameNumber, 0);

    for (int i = 2; i <= 60; ++i)
        history.push(frameOf(static_cast<Direction::eDirection>(i % 9)));
    ASSERT_EQ(history.frames.size(), 60u);
    // No filler is left: the numbers fall by one from the newest (60) to the oldest (1).
    int expected = 60;
    for (const InputFrame& frame : history)
        EXPECT_EQ(frame.frameNumber, expected--);
    EXPECT_TRUE(sameFrame(history.frames.back(), first));

    history.push(frameOf(Direction::Up));
    EXPECT_EQ(history.frames.size(), 60u);
    EXPECT_EQ(history.frameCounter, 61);
    EXPECT_EQ(history.newest().frameNumber, 61);
    EXPECT_EQ(history.frames.back().frameNumber, 2);
}

TEST(InputHistory, ListenerGetsEachNumberedFrameAndChangesNothingStored) {
    InputPanel display;
    display.setVisible(true);

    InputHistory heard(60);
    heard.setListener(&display);
    InputHistory unheard(60);
    const Direction::eDirection directions[] = {Direction::Down, Direction::DownLeft,
                                                Direction::Left, Direction::Neutral};
    for (Direction::eDirection direction : directions) {
        const InputFrame frame = frameOf(direction, direction == Direction::Left);
        heard.push(frame);
        unheard.push(frame);
        EXPECT_TRUE(sameFrame(display.panel.lastFrame, heard.newest()));
    }
    // Three frames were not at rest, so the panel shows three rows.
    EXPECT_EQ(display.panel.rowCount, 3);
    EXPECT_EQ(heard.frameCounter, unheard.frameCounter);
    for (auto a = heard.begin(), b = unheard.begin(); a != heard.end(); ++a, ++b)
        EXPECT_TRUE(sameFrame(*a, *b));
}

} // namespace
