#include "match/Stage.h"

#include <cmath>
#include <limits>

namespace {

constexpr float infinity = std::numeric_limits<float>::infinity();

// Where the body stands inside the walls: at a wall it went past, with its edge exactly on it.
float insideWalls(const Stage::Body& body, float walls) {
    if (body.worldLeft() < -walls)
        return -walls - body.left;
    if (body.worldRight() > walls)
        return walls - body.right;
    return body.x;
}

// The least float x from `from` up whose edge x + offset, summed in float as the hit test sums
// it, reaches `edge`. In closed form: the sum rounds to edge or above once its exact value passes
// the midpoint between edge and the float below it, so the answer lies within a float or two of
// that midpoint less the offset (exact in double); the walk checks the float sums themselves,
// ties included, and so gives what walking from `from` one float at a time would, in a few steps.
float leastReaching(float from, float offset, float edge) {
    const auto reaches = [offset, edge](float x) { return x + offset >= edge; };
    if (reaches(from))
        return from;
    const double midpoint =
        (static_cast<double>(std::nextafter(edge, -infinity)) + static_cast<double>(edge)) / 2;
    float x = static_cast<float>(midpoint - static_cast<double>(offset));
    if (!(x > from))
        x = std::nextafter(from, infinity);
    while (!reaches(x))
        x = std::nextafter(x, infinity);
    for (float below = std::nextafter(x, -infinity); below > from && reaches(below);
         below = std::nextafter(x, -infinity))
        x = below;
    return x;
}

void pushApart(Stage::Body& left, Stage::Body& right, float walls) {
    const float overlap = left.worldRight() - right.worldLeft();
    if (!(overlap > 0))
        return;
    left.x -= overlap / 2;
    right.x += overlap / 2;
    // A wall stops the body pushed against it; the other one is pushed the rest of the way.
    if (const float x = insideWalls(left, walls); x != left.x) {
        right.x += x - left.x;
        left.x = x;
    } else if (const float x = insideWalls(right, walls); x != right.x) {
        left.x += x - right.x;
        right.x = x;
    }
    // Rounding can leave the bodies a hair into each other: the one away from a wall gives way,
    // to the nearest float at which its edge no longer passes the other's. Negated, the left
    // body's search is the right one's.
    if (left.worldLeft() <= -walls)
        right.x = leastReaching(right.x, right.left, left.worldRight());
    else
        left.x = -leastReaching(-left.x, -left.right, -right.worldLeft());
}

} // namespace

namespace Stage {

void keepApart(Body& first, Body& second, bool firstOnTheLeft, float walls) {
    first.x = insideWalls(first, walls);
    second.x = insideWalls(second, walls);
    if (firstOnTheLeft)
        pushApart(first, second, walls);
    else
        pushApart(second, first, walls);
}

void slideBack(Body& slider, Body& other, float distance, float walls) {
    slider.x += distance;
    const float x = insideWalls(slider, walls);
    other.x += x - slider.x;
    slider.x = x;
}

} // namespace Stage
