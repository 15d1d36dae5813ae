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

void addProjectile(Fnv1a& hash, const CharacterData& data, const ProjectileData& projectile) {
    hash.addWord(static_cast<std::uint32_t>(projectile.launch));
    addValue(hash, data.spriteName(projectile.sprite));
    addValue(hash, projectile.boxes);
    addValue(hash, projectile.hit);
    for (float value : {projectile.x, projectile.y, projectile.speed})
        hash.addWord(bitsOf(value));
    hash.addWord(static_cast<std::uint32_t>(projectile.lifetime));
}

void addThrow(Fnv1a& hash, const CharacterData& data, const ThrowData& grab) {
    const FrameAnimation& animation = data.throwAnimation;
    addTrack(hash, animation.sprite, [&data](int sprite) { return data.spriteName(sprite); });
    addTrack(hash, animation.hitboxes, same<const HitboxInfo*>);
    addTrack(hash, animation.movement, same<Ogre::Vector2>);
    for (int value : {grab.grab, grab.damage, grab.stun, grab.button})
        hash.addWord(static_cast<std::uint32_t>(value));
    for (float value : {grab.reach, grab.holdX, grab.holdY, grab.releaseX})
        hash.addWord(bitsOf(value));
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
    // Only a fighter that has them: the hash of every other stays what it was.
    if (data.projectile)
        addProjectile(hash, data, *data.projectile);
    if (data.throwMove)
        addThrow(hash, data, *data.throwMove);
    return hash.value;
}
