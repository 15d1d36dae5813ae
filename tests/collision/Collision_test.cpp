#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "collision/AABB.h"
#include "collision/HitProps.h"
#include "collision/HitboxInfo.h"
#include "collision/hitTest.h"

namespace {

const AABB standBody(-35, 35, 100, 0);
const AABB punch(30, 65, 90, 65);
const AABB spinBody(-25, 25, 100, 40);
const AABB spinBackKick(-70, -30, 75, 45);

HitboxInfo boxSet(std::initializer_list<AABB> body, std::initializer_list<AABB> attack) {
    HitboxInfo set;
    for (const AABB& box : body)
        set.addBox(box, false);
    for (const AABB& box : attack)
        set.addBox(box, true);
    return set;
}

bool sameBox(const AABB& a, const AABB& b) {
    return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom;
}

bool sameBoxes(const std::vector<AABB>& a, const std::vector<AABB>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!sameBox(a[i], b[i]))
            return false;
    }
    return true;
}

TEST(Boxes, MirrorAndTranslate) {
    AABB box = punch;
    box.mirror();
    EXPECT_TRUE(sameBox(box, AABB(-65, -30, 90, 65)));
    box.mirror();
    EXPECT_TRUE(sameBox(box, punch));
    box.translate(10, -5);
    EXPECT_TRUE(sameBox(box, AABB(40, 75, 85, 60)));

    const AABB common = intersection(AABB(0, 10, 10, 0), AABB(5, 20, 8, -3));
    EXPECT_TRUE(sameBox(common, AABB(5, 10, 8, 0)));
}

TEST(Boxes, OverlapIsStrict) {
    const AABB a(0, 10, 10, 0);
    // Sharing an edge or a corner is not overlapping; any positive push inside is.
    EXPECT_FALSE(overlaps(a, AABB(10, 20, 10, 0)));
    EXPECT_FALSE(overlaps(a, AABB(-10, 0, 5, 2)));
    EXPECT_FALSE(overlaps(a, AABB(2, 8, 20, 10)));
    EXPECT_FALSE(overlaps(a, AABB(10, 20, 20, 10)));
    EXPECT_TRUE(overlaps(a, AABB(std::nextafter(10.0f, 0.0f), 20, 10, 0)));
    EXPECT_TRUE(overlaps(a, AABB(9.5f, 20, 10, 0)));
    // A box without width or height covers nothing, not even inside another box.
    EXPECT_FALSE(overlaps(a, AABB(5, 5, 8, 2)));
    EXPECT_FALSE(overlaps(AABB(5, 5, 8, 2), AABB(5, 5, 8, 2)));
    EXPECT_FALSE(overlaps(a, AABB(2, 8, 5, 5)));
    EXPECT_FALSE(overlaps(a, AABB(8, 2, 8, 2)));
}

TEST(Boxes, NaNNeverOverlaps) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const AABB a(0, 10, 10, 0);
    const AABB withNaN[] = {AABB(nan, 5, 5, 1), AABB(1, nan, 5, 1), AABB(1, 5, nan, 1),
                            AABB(1, 5, 5, nan), AABB(nan, nan, nan, nan)};
    for (const AABB& b : withNaN) {
        EXPECT_FALSE(overlaps(a, b));
        EXPECT_FALSE(overlaps(b, a));
    }
}

TEST(Boxes, OverlapAgreesWithANonEmptyIntersectionAndIsSymmetric) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-20, 20);
    auto randomBox = [&] {
        return AABB(coordinate(random), coordinate(random), coordinate(random), coordinate(random));
    };
    int overlapping = 0;
    for (int i = 0; i < 20000; ++i) {
        const AABB a = randomBox();
        const AABB b = randomBox();
        const AABB common = intersection(a, b);
        const bool expected = common.right > common.left && common.top > common.bottom;
        ASSERT_EQ(overlaps(a, b), expected);
        ASSERT_EQ(overlaps(b, a), expected);
        overlapping += expected;
    }
    EXPECT_GT(overlapping, 200);
}

TEST(BoxSets, AddBoxSortsIntoItsList) {
    const HitboxInfo set = boxSet({standBody}, {punch, spinBackKick});
    ASSERT_EQ(set.bodyBoxes.size(), 1u);
    ASSERT_EQ(set.attackBoxes.size(), 2u);
    EXPECT_TRUE(sameBox(set.bodyBoxes[0], standBody));
    EXPECT_TRUE(sameBox(set.attackBoxes[0], punch));
    EXPECT_TRUE(sameBox(set.attackBoxes[1], spinBackKick));
    EXPECT_FALSE(HitProps().active);
}

TEST(HitTest, PunchReachesAStandingDefenderUpTo100UnitsAhead) {
    const HitboxInfo punching = boxSet({standBody}, {punch});
    const HitboxInfo standing = boxSet({standBody}, {});
    EXPECT_TRUE(hitTest(punching, 0, 0, false, standing, 60, 0, true));
    EXPECT_TRUE(hitTest(punching, 0, 0, false, standing, 99.5f, 0, true));
    EXPECT_FALSE(hitTest(punching, 0, 0, false, standing, 100, 0, true));
    // Facing left, the same punch reaches the same distance the other way.
    EXPECT_TRUE(hitTest(punching, 200, 0, true, standing, 140, 0, false));
    EXPECT_FALSE(hitTest(punching, 200, 0, true, standing, 100, 0, false));
    // Behind the attacker the punch does nothing; nor is the test symmetric.
    EXPECT_FALSE(hitTest(punching, 0, 0, false, standing, -60, 0, false));
    EXPECT_FALSE(hitTest(standing, 60, 0, true, punching, 0, 0, false));
}

TEST(HitTest, BackKickHitsBehindTheAttacker) {
    const HitboxInfo spinBack = boxSet({spinBody}, {spinBackKick});
    const HitboxInfo standing = boxSet({standBody}, {});
    EXPECT_TRUE(hitTest(spinBack, 100, 0, false, standing, 40, 0, false));
    EXPECT_FALSE(hitTest(spinBack, 100, 0, false, standing, 160, 0, true));
    EXPECT_TRUE(hitTest(spinBack, 100, 0, true, standing, 160, 0, true));
    // The kick flies between 45 and 75 units up: a defender lifted clear of it is missed.
    EXPECT_FALSE(hitTest(spinBack, 100, 0, false, standing, 40, 75, false));
}

TEST(HitTest, OnlyAttackBoxesAgainstBodyBoxesCount) {
    const HitboxInfo punching = boxSet({standBody}, {punch});
    const HitboxInfo bodyOnly = boxSet({standBody}, {});
    const HitboxInfo attackOnly = boxSet({}, {standBody});
    EXPECT_FALSE(hitTest(bodyOnly, 0, 0, false, punching, 0, 0, false));
    EXPECT_FALSE(hitTest(punching, 0, 0, false, attackOnly, 0, 0, false));
    EXPECT_FALSE(hitTest(HitboxInfo(), 0, 0, false, punching, 0, 0, false));
    // Any pair may land the hit, not only the first of each list.
    const HitboxInfo twoAttacks = boxSet({}, {spinBackKick, punch});
    const HitboxInfo twoBodies = boxSet({AABB(-500, -400, 100, 0), standBody}, {});
    EXPECT_TRUE(hitTest(twoAttacks, 0, 0, false, twoBodies, 60, 0, false));
}

// Whole scenes moved along the line, or seen in a mirror, hit exactly as before; and no test
// touches the box sets it reads. Integer coordinates keep the float sums exact.
TEST(HitTestProperties, InvariantUnderMovingOrMirroringTheSceneAndLeavesBoxesAlone) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> coordinate(-60, 60);
    std::uniform_int_distribution<int> boxCount(0, 3);
    std::uniform_int_distribution<int> position(-100, 100);
    std::bernoulli_distribution coin(0.5);
    auto randomSet = [&] {
        HitboxInfo set;
        for (int n = boxCount(random) + boxCount(random); n > 0; --n) {
            const float left = coordinate(random);
            const float bottom = coordinate(random) + 60;
            set.addBox(AABB(left, left + 1 + coordinate(random) / 2.0f + 30,
                            bottom + 1 + coordinate(random) / 2.0f + 30, bottom),
                       coin(random));
        }
        return set;
    };
    int hits = 0;
    for (int i = 0; i < 5000; ++i) {
        const HitboxInfo attacker = randomSet();
        const HitboxInfo defender = randomSet();
        HitboxInfo attackerCopy = attacker;
        HitboxInfo defenderCopy = defender;
        const float ax = position(random), ay = position(random) / 4;
        const float dx = position(random), dy = position(random) / 4;
        const bool aLeft = coin(random), dLeft = coin(random);
        const float shiftX = position(random), shiftY = position(random);

        const bool hit = hitTest(attackerCopy, ax, ay, aLeft, defenderCopy, dx, dy, dLeft);
        ASSERT_EQ(hitTest(attackerCopy, ax + shiftX, ay + shiftY, aLeft, defenderCopy, dx + shiftX,
                          dy + shiftY, dLeft),
                  hit);
        ASSERT_EQ(hitTest(attackerCopy, -ax, ay, !aLeft, defenderCopy, -dx, dy, !dLeft), hit);
        ASSERT_TRUE(sameBoxes(attackerCopy.attackBoxes, attacker.attackBoxes));
        ASSERT_TRUE(sameBoxes(attackerCopy.bodyBoxes, attacker.bodyBoxes));
        ASSERT_TRUE(sameBoxes(defenderCopy.attackBoxes, defender.attackBoxes));
        ASSERT_TRUE(sameBoxes(defenderCopy.bodyBoxes, defender.bodyBoxes));
        hits += hit;
    }
    EXPECT_GT(hits, 200);
    EXPECT_LT(hits, 4800);
}

} // namespace
