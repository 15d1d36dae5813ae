#include <gtest/gtest.h>

#include "menu/KeyRepeat.h"

namespace {

using Clock = KeyRepeat::Clock;
using std::chrono::milliseconds;

// The presses a key held for `held` counts, sampled by pictures `picture` apart, each picture
// running the steps of 1/60 s it caught up on within the same moment.
int pressesHeld(milliseconds held, milliseconds picture) {
    KeyRepeat repeat;
    const Clock::time_point start{};
    int presses = 0;
    for (Clock::time_point now = start; now < start + held; now += picture)
        for (int step = 0; step < std::max<long>(1, picture.count() * 60 / 1000); ++step)
            presses += repeat.pressed(true, now);
    presses += repeat.pressed(false, start + held);
    return presses;
}

} // namespace

// A tap held over the eight catch-up steps of a picture at 7 a second is one press; a key held
// counts once, then 10 a second after 0.4 s, at 60 pictures a second as at 7, where a picture
// repeats once at most.
TEST(KeyRepeat, CountsPressesByTheWallClockNotBySteps) {
    EXPECT_EQ(pressesHeld(milliseconds(143), milliseconds(143)), 1);
    EXPECT_EQ(pressesHeld(milliseconds(300), milliseconds(16)), 1);
    const int atSixty = pressesHeld(milliseconds(1500), milliseconds(16));
    EXPECT_EQ(atSixty, 1 + 11);
    EXPECT_EQ(pressesHeld(milliseconds(1500), milliseconds(143)), 1 + 8);
    // A picture stalled for 2 s repeats once, not twenty times.
    KeyRepeat stalled;
    EXPECT_TRUE(stalled.pressed(true, Clock::time_point{}));
    EXPECT_TRUE(stalled.pressed(true, Clock::time_point{} + milliseconds(2000)));
    EXPECT_FALSE(stalled.pressed(true, Clock::time_point{} + milliseconds(2050)));
}
