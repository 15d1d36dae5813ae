#include "replay/characterDataHash.h"

#include <cstring>
#include <string>

#include <OgreMaterial.h>

#include "anim/CharacterData.h"
#include "replay/Fnv1a.h"

namespace {

std::uint64_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void addValue(Fnv1a& hash, const Ogre::MaterialPtr& material) {
    const std::string name = material ? material->getName() : std::string();
    hash.addWord(name.size());
    hash.addBytes(name.data(), name.size());
}

void addBoxes(Fnv1a& hash, const std::vector<AABB>& boxes) {
    hash.addWord(boxes.size());
    for (const AABB& box : boxes)
        for (float side : {box.left, box.right, box.top, box.bottom})
            hash.addWord(bitsOf(side));
}

void addValue(Fnv1a& hash, const HitboxInfo* boxes) {
    hash.addWord(boxes != nullptr);
    if (!boxes)
        return;
    addBoxes(hash, boxes->attackBoxes);
    addBoxes(hash, boxes->bodyBoxes);
}

void addValue(Fnv1a& hash, const HitProps* props) {
    hash.addWord(props != nullptr);
    if (!props)
        return;
    for (int field : {int{props->active}, props->damage, props->hitStun, props->blockStun})
        hash.addWord(static_cast<std::uint32_t>(field));
}

void addValue(Fnv1a& hash, const Ogre::Vector2& movement) {
    hash.addWord(bitsOf(movement.x));
    hash.addWord(bitsOf(movement.y));
}

template <typename T> void addTrack(Fnv1a& hash, const FrameAnimTrack<T>& track) {
    hash.addWord(track.loop);
    hash.addWord(track.segments.size());
    for (const FrameAnimSegment<T>& segment : track.segments) {
        hash.addWord(static_cast<std::uint32_t>(segment.duration));
        addValue(hash, segment.value);
    }
}

void addMove(Fnv1a& hash, const MoveInput& move, PlayerState::Action action) {
    hash.addWord(static_cast<std::uint32_t>(action));
    hash.addWord(static_cast<std::uint32_t>(move.button));
    hash.addWord(move.components.size());
    for (const MoveComponent& component : move.components) {
        hash.addWord(component.window);
        hash.addWord(component.directions.size());
        for (Direction::eDirection direction : component.directions)
            hash.addWord(static_cast<std::uint32_t>(direction));
    }
}

} // namespace

std::uint64_t characterDataHash(const CharacterData& data) {
    Fnv1a hash;
    for (const FrameAnimation& animation : data.animations) {
        addTrack(hash, animation.material);
        addTrack(hash, animation.hitboxes);
        addTrack(hash, animation.hitProps);
        addTrack(hash, animation.movement);
    }
    hash.addWord(data.moves.size());
    for (const auto& [move, action] : data.moves)
        addMove(hash, *move, action);
    return hash.value;
}
