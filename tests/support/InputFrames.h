#pragma once

#include "input/InputFrame.h"
#include "input/MoveInput.h"

// Test data of the input rules, shared by the tests and the benchmarks.

// One step's input: a stick direction and which buttons were newly pressed.
inline InputFrame frameOf(Direction::eDirection direction, bool button0 = false,
                          bool button1 = false) {
    InputFrame frame;
    frame.direction = direction;
    frame.pressed[0] = button0;
    frame.pressed[1] = button1;
    return frame;
}

// The spinning kick's command: down, down-back, back, then the second button.
inline MoveInput specialMove() {
    MoveInput move;
    move.setButton(1);
    move.addComponent(MoveComponent({Direction::Down}, 8));
    move.addComponent(MoveComponent({Direction::DownLeft}, 8));
    move.addComponent(MoveComponent({Direction::Left}, 10));
    return move;
}
