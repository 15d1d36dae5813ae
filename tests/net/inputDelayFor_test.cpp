#include <gtest/gtest.h>

#include "net/inputDelayFor.h"

// Half the round trip in steps of a sixtieth of a second, never under 1 or over 4.
TEST(inputDelayFor, HalfTheRoundTripInStepsFromOneToFour) {
    EXPECT_EQ(inputDelayFor(0), 1);
    EXPECT_EQ(inputDelayFor(45), 1);
    EXPECT_EQ(inputDelayFor(67), 2);
    EXPECT_EQ(inputDelayFor(100), 3);
    EXPECT_EQ(inputDelayFor(133), 4);
    EXPECT_EQ(inputDelayFor(900), 4);
}
