#include <cmath>
#include <limits>
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

// The push apart as it was first written, which moved a body one float at a time until the two
// no longer overlapped: the reference for the closed form. False when it took more than
// maxSteps floats.
bool pushedApartOneFloatAtATime(Stage::Body& left, Stage::Body& right, long maxSteps) {
    const auto inside = [](const Stage::Body& body) {
        if (body.worldLeft() < -wall)
            return -wall - body.left;
        if (body.worldRight() > wall)
            return wall - body.right;
        return body.x;
    };
    left.x = inside(left);
    right.x = inside(right);
    const float overlap = left.worldRight() - right.worldLeft();
    if (!(overlap > 0))
        return true;
    left.x -= overlap / 2;
    right.x += overlap / 2;
    if (const float x = inside(left); x != left.x) {
        right.x += x - left.x;
        left.x = x;
    } else if (const float x = inside(right); x != right.x) {
        left.x += x - right.x;
        right.x = x;
    }
    const bool leftAtWall = left.worldLeft() <= -wall;
    constexpr float infinity = std::numeric_limits<float>::infinity();
    for (long steps = 0; left.worldRight() > right.worldLeft(); ++steps) {
        if (steps == maxSteps)
            return false;
        if (leftAtWall)
            right.x = std::nextafter(right.x, infinity);
        else
            left.x = std::nextafter(left.x, -infinity);
    }
    return true;
}

// The closed form against the reference, bit for bit, where the reference ends within maxSteps.
// False when it did not.
bool sameAsOneFloatAtATime(Stage::Body left, Stage::Body right, long maxSteps) {
    Stage::Body expectedLeft = left, expectedRight = right;
    if (!pushedApartOneFloatAtATime(expectedLeft, expectedRight, maxSteps))
        return false;
    Stage::keepApart(left, right, true, Stage::halfWidth);
    EXPECT_EQ(left.x, expectedLeft.x) << expectedLeft.x << " " << expectedRight.x;
    EXPECT_EQ(right.x, expectedRight.x) << expectedLeft.x << " " << expectedRight.x;
    return true;
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
        Stage::keepApart(first, second, c.x1 <= c.x2, Stage::halfWidth);
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
        Stage::keepApart(first, second, first.x <= second.x, Stage::halfWidth);
        ASSERT_FALSE(overlapping(first, second)) << i;
        for (const Stage::Body& body : {first, second}) {
            ASSERT_GE(body.worldLeft(), -wall) << i;
            ASSERT_LE(body.worldRight(), wall) << i;
        }
    }
}

// Near x = 0 floats are dense: there the reference took up to a tenth of a second to give way by
// one float after another; at a wall the other body gives way instead. The closed form comes to
// the same floats.
TEST(StageTest, ThePushApartComesToTheSameFloatsAsMovingOneFloatAtATime) {
    const struct {
        float x1, x2;
    } cases[] = {
        {1, 69.0000076f},
        {-69.0000076f, -1},
        {0.0000001f, 69.99999f},
        {-35.00001f, 34.99999f},
        {-wall + 35, -wall + 104.99999f},
        {-wall + 35.00001f, -wall + 105.0000001f},
        {wall - 104.99999f, wall - 35},
        {wall - 105.00002f, wall - 35.00001f},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(sameAsOneFloatAtATime(standing(c.x1), standing(c.x2), 1L << 30))
            << c.x1 << " " << c.x2;

    // Overlaps of a few floats' worth, near 0 and at both walls, with other widths; compared
    // where the reference ends in time.
    std::mt19937 random(11);
    std::uniform_real_distribution<float> half(20, 40);
    std::uniform_real_distribution<float> nudge(-0.001f, 0.001f);
    const float centres[] = {0, -wall, wall};
    int compared = 0;
    for (int i = 0; i < 30000; ++i) {
        const float h1 = half(random), h2 = half(random);
        const float centre = centres[i % 3];
        const float x1 = centre == wall ? wall - h1 - h2 - h1 : centre + nudge(random);
        Stage::Body first{x1 + nudge(random), -h1, h1};
        Stage::Body second{first.x + h1 + h2 + nudge(random), -h2, h2};
        compared += sameAsOneFloatAtATime(first, second, 100000);
    }
    EXPECT_GT(compared, 25000);
}

// A fighter pushed back against a wall pushes back the one that pushed it.
TEST(StageTest, APushBackThatAWallStopsPushesTheOtherBodyAway) {
    Stage::Body slider = standing(-wall + 37), other = standing(-wall + 97);
    Stage::slideBack(slider, other, -5, Stage::halfWidth);
    EXPECT_FLOAT_EQ(slider.x, -wall + 35);
    EXPECT_FLOAT_EQ(other.x, -wall + 100);
    Stage::slideBack(other, slider, 5, Stage::halfWidth);
    EXPECT_FLOAT_EQ(other.x, -wall + 105);
    EXPECT_FLOAT_EQ(slider.x, -wall + 35);
}
