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
};
