#pragma once

#include <set>

#include "input/Direction.h"

// One step of a motion command: any of the directions, found within window frames counted from
// the frame just older than the step entered after it (for the last step, from the newest
// frame). Directions are written for a fighter facing +x. The window is at least 1.
struct MoveComponent {
    MoveComponent(std::set<Direction::eDirection> directions, unsigned int window);

    // The same step for a fighter facing left: left and right swapped.
    MoveComponent mirrored(bool facingLeft) const;

    std::set<Direction::eDirection> directions;
    unsigned int window;
};
