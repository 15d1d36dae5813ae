#pragma once

// An axis-aligned box covering the open region left < x < right, bottom < y < top. Boxes are
// written in a fighter's own frame (x = 0 at its position, +x towards its front) and copied
// freely; a box with right <= left or top <= bottom covers nothing.
struct AABB {
    float left;
    float right;
    float top;
    float bottom;

    AABB(float left, float right, float top, float bottom);

    void translate(float dx, float dy);
    // Reflects the box about x = 0, as for a fighter that faces left.
    void mirror();
};

// The common part of two boxes; empty when they do not overlap.
AABB intersection(const AABB& a, const AABB& b);

// True when the boxes share some area. Touching edges do not count, and a NaN anywhere makes
// the answer false.
bool overlaps(const AABB& a, const AABB& b);
