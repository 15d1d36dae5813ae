#include "net/characterDataHash.h"

#include <cstring>
#include <string>

#include <OgreMaterial.h>

#include "anim/CharacterData.h"

namespace {

// FNV-1a over the bytes of each value, in a fixed order.
class Hash {
public:
    void bytes(const void* data, std::size_t size) {
        const auto* byte = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            value = (value ^ byte[i]) * 0x100000001b3ull;
    }
    void add(int number) { bytes(&number, sizeof number); }
    void add(float number) {
        std::uint32_t bits;
        std::memcpy(&bits, &number, sizeof bits);
        bytes(&bits, sizeof bits);
    }
    void add(const std::string& text) {
        add(static_cast<int>(text.size()));
        bytes(text.data(), text.size());
    }
    void add(const Ogre::MaterialPtr& material) { add(material ? material->getName() : ""); }
    void add(const Ogre::Vector2& v) {
        add(v.x);
        add(v.y);
    }
    void add(const AABB& box) {
        add(box.left), add(box.right), add(box.top), add(box.bottom);
    }
    void add(const HitboxInfo* boxes) {
        add(boxes ? 1 : 0);
        if (!boxes)
            return;
        for (const auto* list : {&boxes->attackBoxes, &boxes->bodyBoxes}) {
            add(static_cast<int>(list->size()));
            for (const AABB& box : *list)
                add(box);
        }
    }
    void add(const HitProps* props) {
        add(props ? 1 : 0);
        if (props)
            add(props->active ? 1 : 0), add(props->damage), add(props->hitStun), add(props->blockStun);
    }
    template <typename T> void add(const FrameAnimTrack<T>& track) {
        add(track.loop ? 1 : 0);
        add(static_cast<int>(track.segments.size()));
        for (const FrameAnimSegment<T>& segment : track.segments) {
            add(segment.duration);
            add(segment.value);
        }
    }

    std::uint64_t value = 0xcbf29ce484222325ull;
};

} // namespace

std::uint64_t characterDataHash(const CharacterData& data) {
    Hash hash;
    for (const FrameAnimation& animation : data.animations) {
        hash.add(animation.material);
        hash.add(animation.hitboxes);
        hash.add(animation.hitProps);
        hash.add(animation.movement);
    }
    for (const auto& [move, action] : data.moves) {
        hash.add(static_cast<int>(action));
        hash.add(move->button);
        for (const MoveComponent& component : move->components) {
            hash.add(static_cast<int>(component.window));
            for (Direction::eDirection direction : component.directions)
                hash.add(static_cast<int>(direction));
        }
    }
    return hash.value;
}
