#include "collision/AABB.h"

#include <algorithm>

AABB::AABB(float left, float right, float top, float bottom)
    : left(left), right(right), top(top), bottom(bottom) {}

void AABB::translate(float dx, float dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
}

void AABB::mirror() {
    const float oldLeft = left;
    left = -right;
    right = -oldLeft;
}

AABB intersection(const AABB& a, const AABB& b) {
    return AABB(std::max(a.left, b.left), std::min(a.right, b.right), std::min(a.top, b.top),
                std::max(a.bottom, b.bottom));
}

bool overlaps(const AABB& a, const AABB& b) {
    // The intersection is non-empty exactly when each box's low edge lies strictly below the
    // other's (and its own) high edge. Comparing the pairs directly, instead of through
    // std::max/std::min, keeps a NaN from being dropped by the min/max and so never counts
    // such a box as overlapping.
    return a.left < a.right && b.left < b.right && a.left < b.right && b.left < a.right &&
           a.bottom < a.top && b.bottom < b.top && a.bottom < b.top && b.bottom < a.top;
}
