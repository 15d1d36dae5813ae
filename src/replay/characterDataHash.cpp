#include "replay/characterDataHash.h"

#include <cstring>
#include <string>

#include "anim/CharacterData.h"
#include "replay/Fnv1a.h"

namespace {

std::uint64_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void addValue(Fnv1a& hash, const std::string& name) {
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

template <typename T, typename Value>
void addTrack(Fnv1a& hash, const FrameAnimTrack<T>& track, Value value) {
    hash.addWord(track.loop);
    hash.addWord(track.segments.size());
    for (const FrameAnimSegment<T>& segment : track.segments) {
        hash.addWord(static_cast<std::uint32_t>(segment.duration));
        addValue(hash, value(segment.value));
    }
}

template <typename T> T same(T value) {
    return value;
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
        // Sprites by name, as the materials that showed them were named.
        addTrack(hash, animation.sprite, [&data](int sprite) { return data.spriteName(sprite); });
        addTrack(hash, animation.hitboxes, same<const HitboxInfo*>);
        addTrack(hash, animation.hitProps, same<const HitProps*>);
        addTrack(hash, animation.movement, same<Ogre::Vector2>);
    }
    hash.addWord(data.moves.size());
    for (const auto& [move, action] : data.moves)
        addMove(hash, *move, action);
    return hash.value;
}
