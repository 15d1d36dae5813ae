#include <gtest/gtest.h>

#include "app/FixedStepAccumulator.h"

namespace {

// Feeds frames of one length and records how many steps each frame ran.
std::vector<int> stepsPerFrame(float frameSeconds, int frames) {
    FixedStepAccumulator clock;
    std::vector<int> steps;
    for (int i = 0; i < frames; ++i) {
        int count = 0;
        clock.advance(frameSeconds, [&] { return ++count, true; });
        steps.push_back(count);
    }
    return steps;
}

} // namespace

TEST(FixedStepAccumulator, StepLengthIsOneSixtiethInSinglePrecision) {
    EXPECT_EQ(FixedStepAccumulator::stepLength, 0.016666668f);
}

TEST(FixedStepAccumulator, StepsPerFrameFollowTheAccumulatedTime) {
    // Frames of exactly one step run one step each and leave nothing behind.
    EXPECT_EQ(stepsPerFrame(0.016666668f, 5), std::vector<int>(5, 1));
    FixedStepAccumulator exact;
    exact.advance(0.016666668f, [] { return true; });
    EXPECT_EQ(exact.accumulator, 0.0f);

    // Frames of 1/120 s run a step on every second frame.
    EXPECT_EQ(stepsPerFrame(1.0f / 120.0f, 6), (std::vector<int>{0, 1, 0, 1, 0, 1}));

    // 0.05 s is two steps and a single-precision remainder just under a third.
    FixedStepAccumulator threeSteps;
    int count = 0;
    threeSteps.advance(0.05f, [&] { return ++count, true; });
    EXPECT_EQ(count, 2);
    EXPECT_EQ(threeSteps.accumulator, 0.016666664f);
    threeSteps.advance(0.0f, [&] { return ++count, true; });
    EXPECT_EQ(count, 2);
    threeSteps.advance(0.000001f, [&] { return ++count, true; });
    EXPECT_EQ(count, 3);

    // A long frame is caught up step by step: no cap.
    EXPECT_EQ(stepsPerFrame(0.1f, 1), std::vector<int>{6});
    EXPECT_EQ(stepsPerFrame(2.0f, 1), std::vector<int>{120});
}

TEST(FixedStepAccumulator, AStopEndsTheFrameAtOnceAndKeepsTheRemainder) {
    FixedStepAccumulator clock;
    int count = 0;
    const bool keepRunning = clock.advance(0.1f, [&] { return ++count < 2; });
    EXPECT_FALSE(keepRunning);
    EXPECT_EQ(count, 2);
    // Four steps' worth of time was not run and stays in the accumulator.
    EXPECT_NEAR(clock.accumulator, 0.1f - 2 * FixedStepAccumulator::stepLength, 1e-6f);
}
