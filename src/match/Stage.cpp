#include "match/Stage.h"

#include <cmath>
#include <limits>

namespace {

// Where the body stands inside the walls: at a wall it went past, with its edge exactly on it.
float insideWalls(const Stage::Body& body) {
    if (body.worldLeft() < -Stage::halfWidth)
        return -Stage::halfWidth - body.left;
    if (body.worldRight() > Stage::halfWidth)
        return Stage::halfWidth - body.right;
    return body.x;
}

void pushApart(Stage::Body& left, Stage::Body& right) {
    const float overlap = left.worldRight() - right.worldLeft();
    if (!(overlap > 0))
        return;
    left.x -= overlap / 2;
    right.x += overlap / 2;
    // A wall stops the body pushed against it; the other one is pushed the rest of the way.
    if (const float x = insideWalls(left); x != left.x) {
        right.x += x - left.x;
        left.x = x;
    } else if (const float x = insideWalls(right); x != right.x) {
        left.x += x - right.x;
        right.x = x;
    }
    // Rounding can leave the bodies a hair into each other: the one away from a wall gives way.
    const bool leftAtWall = left.worldLeft() <= -Stage::halfWidth;
    constexpr float infinity = std::numeric_limits<float>::infinity();
    while (left.worldRight() > right.worldLeft()) {
        if (leftAtWall)
            right.x = std::nextafter(right.x, infinity);
        else
            left.x = std::nextafter(left.x, -infinity);
    }
}

} // namespace

namespace Stage {

void keepApart(Body& first, Body& second, bool firstOnTheLeft) {
    first.x = insideWalls(first);
    second.x = insideWalls(second);
    if (firstOnTheLeft)
        pushApart(first, second);
    else
        pushApart(second, first);
}

} // namespace Stage
