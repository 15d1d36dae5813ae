#include <random>

#include <gtest/gtest.h>

#include "match/Stage.h"

namespace {

constexpr float wall = Stage::halfWidth;

// A standing fighter's body: 35 either side of its position.
Stage::Body standing(float x) { return {x, -35, 35}; }

bool overlapping(const Stage::Body& a, const Stage::Body& b) {
    return a.worldLeft() < b.worldRight() && b.worldLeft() < a.worldRight();
}

} // namespace

TEST(StageTest, WallsStopTheBodiesAndOverlappingBodiesArePushedApart) {
    struct Case {
        const char* what;
        float x1, x2;
        float expected1, expected2;
    } const cases[] = {
        {"apart: nothing moves", -80, 50, -80, 50},
        {"touching: nothing moves", -35, 35, -35, 35},
        {"past the left wall", -131, 50, -wall + 35, 50},
        {"past the right wall", 0, 131.5f, 0, wall - 35},
        {"overlapping by 10: 5 each", -30, 30, -35, 35},
        {"the first on the right", 30, -30, 35, -35},
        {"at one x: the first goes left", 10, 10, -25, 45},
        {"one at the wall takes none of the push", -wall + 35, -wall + 95, -wall + 35,
         -wall + 105},
        {"near the wall it takes what is left", -wall + 37, -wall + 97, -wall + 35, -wall + 105},
        {"pushed into the right wall", wall - 95, wall - 35, wall - 105, wall - 35},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Stage::Body first = standing(c.x1), second = standing(c.x2);
        Stage::keepApart(first, second, c.x1 <= c.x2);
        EXPECT_FLOAT_EQ(first.x, c.expected1);
        EXPECT_FLOAT_EQ(second.x, c.expected2);
    }
}

// Whatever the bodies' widths and places, afterwards they are inside the walls and apart, also
// after rounding.
TEST(StageTest, NoBodyEndsOutsideTheWallsOrInsideTheOther) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> place(-wall - 20, wall + 20);
    std::uniform_real_distribution<float> half(20, 40);
    for (int i = 0; i < 100000; ++i) {
        const float h1 = half(random), h2 = half(random);
        Stage::Body first{place(random), -h1, h1}, second{place(random), -h2, h2};
        Stage::keepApart(first, second, first.x <= second.x);
        ASSERT_FALSE(overlapping(first, second)) << i;
        for (const Stage::Body& body : {first, second}) {
            ASSERT_GE(body.worldLeft(), -wall) << i;
            ASSERT_LE(body.worldRight(), wall) << i;
        }
    }
}
