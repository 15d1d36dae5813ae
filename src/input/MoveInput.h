#pragma once

#include <vector>

#include "input/MoveComponent.h"

// A motion command: its steps in the order the player enters them (the first is the oldest in
// time), completed by a new press of one button. Owned by the character data's move list.
struct MoveInput {
    void setButton(int button);
    void addComponent(const MoveComponent& component);

    // The command for a fighter facing left: every step mirrored, same button and order.
    MoveInput mirrored(bool facingLeft) const;

    // Index into InputFrame::pressed: 0 or 1.
    int button = 0;
    std::vector<MoveComponent> components;
};
