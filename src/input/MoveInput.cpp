#include "input/MoveInput.h"

void MoveInput::setButton(int button) {
    this->button = button;
}

void MoveInput::addComponent(const MoveComponent& component) {
    components.push_back(component);
}

MoveInput MoveInput::mirrored(bool facingLeft) const {
    MoveInput copy;
    copy.button = button;
    copy.components.reserve(components.size());
    for (const MoveComponent& component : components)
        copy.components.push_back(component.mirrored(facingLeft));
    return copy;
}
