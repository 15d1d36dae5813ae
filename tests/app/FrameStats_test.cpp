#include <gtest/gtest.h>

#include "app/FrameStats.h"

namespace {

using std::chrono::milliseconds;

// A pass `at` ms after the start that ran `steps` steps of stepMs each and, when pictureMs is
// given, drew a picture in that long.
FramePass pass(int at, int steps, double stepMs, double pictureMs = -1) {
    FramePass made;
    made.woke = made.due = FramePass::Time(milliseconds(at));
    made.stepped = made.woke + milliseconds(1);
    made.steps = steps;
    made.stepSeconds = steps * stepMs / 1000;
    made.worstStepSeconds = steps > 0 ? stepMs / 1000 : 0;
    made.pictured = pictureMs >= 0;
    made.swapped = made.drawn =
        made.stepped + std::chrono::duration_cast<FramePass::Time::duration>(
                           std::chrono::duration<double, std::milli>(pictureMs));
    return made;
}

} // namespace

// The figures cover the second before the last pass: older passes drop out; a pass of two
// steps counts both, and a pass without a picture counts its steps only.
TEST(FrameStats, FiguresOfTheLastSecond) {
    FrameStats stats;
    stats.add(pass(0, 1, 9.0, 40));
    stats.add(pass(500, 1, 1.0, 2));
    stats.add(pass(990, 2, 0.5, 4));
    stats.add(pass(1010, 0, 0));
    const FrameFigures figures = stats.figures();
    // Two pictures whose swaps returned 492 ms apart.
    EXPECT_NEAR(figures.picturesPerSecond, 1000.0 / 492, 1e-6);
    EXPECT_DOUBLE_EQ(figures.stepMeanMs, (1.0 + 2 * 0.5) / 3);
    EXPECT_DOUBLE_EQ(figures.stepWorstMs, 1.0);
    EXPECT_NEAR(figures.pictureMeanMs, 3, 1e-6);
    EXPECT_NEAR(figures.pictureWorstMs, 4, 1e-6);
}
