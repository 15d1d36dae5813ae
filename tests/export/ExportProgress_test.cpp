#include <gtest/gtest.h>

#include <sstream>

#include "export/ExportProgress.h"

namespace {

using Clock = ExportProgress::Clock;

// 100 pictures, one every 10 ms: half of a clip, at 1.67 times real time.
std::string progressOf(bool terminal) {
    std::ostringstream out;
    const Clock::time_point start{};
    ExportProgress progress(out, terminal, 200, start);
    for (int n = 1; n <= 100; ++n)
        progress.frameDone(start + std::chrono::milliseconds(n * 10));
    progress.finished("fight.mp4", start + std::chrono::seconds(1));
    return out.str();
}

} // namespace

TEST(ExportProgressTest, ATerminalSeesTheLineRewrittenAndALogOnlyTheEnd) {
    const std::string summary =
        "Exported 100 steps (1.7 s of play) to 'fight.mp4' in 1.0 s, 1.67x real time";
    EXPECT_EQ(progressOf(false), summary + "\n");
    std::string redrawn;
    for (int quarter = 1; quarter <= 4; ++quarter)
        redrawn += "\r" + ExportProgress::line(25 * quarter, 200, 0.25 * quarter) + "\033[K";
    EXPECT_EQ(progressOf(true), redrawn + "\r" + summary + "\033[K\n");
    EXPECT_EQ(ExportProgress::line(100, 200, 1.0), "100 / 200 steps, 1.67x real time, 1 s left");
}
