#pragma once

#include "input/Direction.h"

// One logic step of one player's input, in absolute (screen) directions.
struct InputFrame {
    Direction::eDirection direction = Direction::Neutral;
    // Button i went from up to down since the previous step; 0 is the punch button.
    bool pressed[2] = {false, false};
    // Given by the history on push, counting from 1; 0 marks a frame never pushed.
    int frameNumber = 0;

    Direction::eDirection relativeDirection(bool facingLeft) const {
        return mirrorDirection(direction, facingLeft);
    }

    // The input without its number in 6 bits, as replays, the network and the match checksum
    // store it: the direction in the low 4 bits, then the two presses.
    static constexpr unsigned inputBitCount = 6;
    static constexpr unsigned inputBitMask = (1u << inputBitCount) - 1;

    unsigned inputBits() const {
        return static_cast<unsigned>(direction) | unsigned{pressed[0]} << 4 |
               unsigned{pressed[1]} << 5;
    }
    // Only the bits of an existing direction (0 to 8) make a frame.
    static bool validInputBits(unsigned bits) { return (bits & 0xf) <= Direction::UpRight; }
    static InputFrame fromInputBits(unsigned bits) {
        InputFrame frame;
        frame.direction = static_cast<Direction::eDirection>(bits & 0xf);
        frame.pressed[0] = (bits >> 4 & 1) != 0;
        frame.pressed[1] = (bits >> 5 & 1) != 0;
        return frame;
    }
};
