#include "input/MoveComponent.h"

#include <utility>

MoveComponent::MoveComponent(std::set<Direction::eDirection> directions, unsigned int window)
    : directions(std::move(directions)), window(window) {}

MoveComponent MoveComponent::mirrored(bool facingLeft) const {
    std::set<Direction::eDirection> mirroredDirections;
    for (Direction::eDirection d : directions)
        mirroredDirections.insert(mirrorDirection(d, facingLeft));
    return MoveComponent(std::move(mirroredDirections), window);
}
