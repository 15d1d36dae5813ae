#pragma once

// The nine stick positions, numbered like the numpad digits minus one, so a direction is
// built from its horizontal and vertical components as h + 3v + 4.
namespace Direction {
enum eDirection : int {
    DownLeft = 0,
    Down = 1,
    DownRight = 2,
    Left = 3,
    Neutral = 4,
    Right = 5,
    UpLeft = 6,
    Up = 7,
    UpRight = 8,
};
} // namespace Direction

// h and v are each -1, 0 or +1; h = +1 is screen right, v = +1 is up.
constexpr Direction::eDirection encodeDirection(int h, int v) {
    return static_cast<Direction::eDirection>(h + 3 * v + 4);
}

// The components encodeDirection built the direction from.
constexpr int horizontalOf(Direction::eDirection d) { return d % 3 - 1; }
constexpr int verticalOf(Direction::eDirection d) { return d / 3 - 1; }

// Swaps the left and right columns for a fighter facing left, so that Left always means back.
constexpr Direction::eDirection mirrorDirection(Direction::eDirection d, bool facingLeft) {
    return facingLeft ? encodeDirection(-horizontalOf(d), verticalOf(d)) : d;
}
