#include "anim/CharacterData.h"

#include <initializer_list>
#include <string>

#include "input/InputHistory.h"
#include "render/SpriteManager.h"

namespace {

// Boxes in the fighter's own frame: x forward from its position, y up from its feet.
const AABB standBody(-35, 35, 100, 0);
const AABB punchBox(30, 65, 90, 65);
const AABB spinBody(-25, 25, 100, 40);
const AABB spinFrontKick(30, 70, 75, 45);
const AABB spinBackKick(-70, -30, 75, 45);

template <typename T> struct Timed {
    T value;
    int frames;
};

void addSprites(SpriteManager* spriteManager, FrameAnimTrack<Ogre::MaterialPtr>& track,
                std::initializer_list<Timed<const char*>> sprites) {
    for (const Timed<const char*>& sprite : sprites)
        track.addSegment(sprite.frames, spriteManager
                                            ? spriteManager->getSpriteMaterial(sprite.value)
                                            : Ogre::MaterialPtr());
}

template <typename T>
void addSegments(FrameAnimTrack<T>& track, std::initializer_list<Timed<T>> segments) {
    for (const Timed<T>& segment : segments)
        track.addSegment(segment.frames, segment.value);
}

HitProps attack(int damage, int hitStun, int blockStun) {
    HitProps props;
    props.active = true;
    props.damage = damage;
    props.hitStun = hitStun;
    props.blockStun = blockStun;
    return props;
}

} // namespace

CharacterData::CharacterData() : CharacterData(SpriteManager::getSingletonPtr()) {}

CharacterData::CharacterData(SpriteManager* sprites) : tatsuMotion(std::make_unique<MoveInput>()) {
    buildMoves();
    punchHit = attack(50, 50, 30);
    spinHitA = attack(20, 40, 40);
    spinHitB = attack(20, 20, 10);
    buildBoxes();
    buildAnimations(sprites);
}

// Down, down-back, back, then the second button: written for a fighter facing +x.
void CharacterData::buildMoves() {
    tatsuMotion->setButton(1);
    tatsuMotion->addComponent(MoveComponent({Direction::Down}, 8));
    tatsuMotion->addComponent(MoveComponent({Direction::DownLeft}, 8));
    tatsuMotion->addComponent(MoveComponent({Direction::Left}, 10));
    moves.emplace_back(tatsuMotion.get(), PlayerState::Tatsu);
}

void CharacterData::buildBoxes() {
    standing.addBox(standBody, false);
    punching.addBox(standBody, false);
    punching.addBox(punchBox, true);
    spinning.addBox(spinBody, false);
    spinFront.addBox(spinBody, false);
    spinFront.addBox(spinFrontKick, true);
    spinBack.addBox(spinBody, false);
    spinBack.addBox(spinBackKick, true);
}

void CharacterData::buildAnimations(SpriteManager* sprites) {
    using V = Ogre::Vector2;
    const auto standStill = [this](FrameAnimation& animation, V movement) {
        addSegments<HitboxInfo*>(animation.hitboxes, {{&standing, 1}});
        addSegments<V>(animation.movement, {{movement, 1}});
    };

    FrameAnimation& idle = animations[PlayerState::Idle];
    addSprites(sprites, idle.material, {{"Idle1", 15}, {"Idle2", 15}});
    standStill(idle, V(0, 0));

    FrameAnimation& walkForward = animations[PlayerState::WalkForward];
    addSprites(sprites, walkForward.material, {{"Idle1", 10}, {"Idle2", 20}});
    standStill(walkForward, V(1, 0));

    FrameAnimation& walkBackward = animations[PlayerState::WalkBackward];
    addSprites(sprites, walkBackward.material, {{"Idle1", 10}, {"Idle2", 20}});
    standStill(walkBackward, V(-1, 0));

    FrameAnimation& block = animations[PlayerState::Block];
    addSprites(sprites, block.material, {{"Block", 1}});
    standStill(block, V(0, 0));

    FrameAnimation& hit = animations[PlayerState::Hit];
    addSprites(sprites, hit.material, {{"Hit", 1}});
    standStill(hit, V(0, 0));

    FrameAnimation& punch = animations[PlayerState::HP];
    punch.material.setLoop(false);
    addSprites(sprites, punch.material, {{"HP1", 15}, {"HP2", 20}, {"HP3", 20}});
    addSegments<HitboxInfo*>(punch.hitboxes, {{&standing, 15}, {&punching, 20}, {&standing, 20}});
    addSegments<HitProps*>(punch.hitProps, {{&noHit, 15}, {&punchHit, 20}, {&noHit, 20}});
    addSegments<V>(punch.movement, {{V(0, 0), 1}});

    FrameAnimation& tatsu = animations[PlayerState::Tatsu];
    tatsu.material.setLoop(false);
    addSprites(sprites, tatsu.material,
               {{"Tatsu1", 10},
                {"Tatsu2", 10},
                {"Tatsu3", 10},
                {"Tatsu4", 10},
                {"Tatsu1", 10},
                {"Tatsu2", 10},
                {"Tatsu3", 10},
                {"Tatsu4", 10},
                {"Tatsu1", 10}});
    addSegments<HitboxInfo*>(tatsu.hitboxes, {{&spinFront, 10},
                                              {&spinning, 10},
                                              {&spinBack, 10},
                                              {&spinning, 10},
                                              {&spinFront, 10},
                                              {&spinning, 10},
                                              {&spinBack, 10},
                                              {&spinning, 10},
                                              {&spinFront, 10},
                                              {&standing, 1}});
    addSegments<HitProps*>(tatsu.hitProps, {{&spinHitA, 10},
                                            {&noHit, 10},
                                            {&spinHitA, 10},
                                            {&noHit, 10},
                                            {&spinHitA, 10},
                                            {&noHit, 10},
                                            {&spinHitB, 10},
                                            {&noHit, 10},
                                            {&spinHitB, 10}});
    addSegments<V>(tatsu.movement, {{V(0.3f, 0), 1}});

    for (FrameAnimation& animation : animations)
        animation.computeConstantFlags();
}

FrameAnimation CharacterData::getAnimation(PlayerState::Action action) const {
    if (action < PlayerState::WalkForward || action > PlayerState::Tatsu)
        return animations[PlayerState::Idle];
    return animations[action];
}

PlayerState::Action CharacterData::findMove(const InputHistory& history, bool facingLeft) const {
    for (const auto& [move, action] : moves) {
        if (history.matches(move, facingLeft))
            return action;
    }
    return PlayerState::Idle;
}

bool CharacterData::isSpecialMove(PlayerState::Action action) const {
    for (const auto& move : moves)
        if (move.second == action)
            return true;
    return false;
}
