#pragma once

#include <OgreVector.h>

#include "anim/FrameAnimPosition.h"
#include "anim/FrameAnimTrack.h"

class HitboxInfo;
struct HitProps;

// The four parallel tracks of one fighter action: sprite (an index into the character's sprite
// list), box set, attack properties and per-step movement (x towards the fighter's front). The
// character data builds one per action and never plays it; a fighter plays its own copy, and a
// copy continues from the same frame. The box sets and hit properties pointed to belong to the
// character data.
class FrameAnimation {
public:
    // Indices into changed and constant.
    enum Track { SpriteTrack = 0, HitboxesTrack = 1, HitPropsTrack = 2, MovementTrack = 3 };
    static constexpr int trackCount = FrameAnimPosition::trackCount;

    // Call once after the last segment was added and before the first step. An empty track, or
    // one looping over a single segment, never changes value and is never stepped.
    void computeConstantFlags();
    // Advances every non-constant track by one frame and records which of them changed segment.
    void step();
    // The animation ends with its sprite track; the other tracks' ends are not consulted.
    bool isFinished() const;
    // Steps still to run before the step that finishes an animation that does not loop.
    int stepsLeft() const { return sprite.totalFrames - 1 - sprite.currentFrame; }
    bool hasHitProps() const;

    FrameAnimPosition position() const;
    // Only a position taken from a copy of the same action's animation.
    void seek(const FrameAnimPosition& position);
    // Whether the position is one of this animation's, for a position from elsewhere.
    bool fits(const FrameAnimPosition& position) const;

    int currentSprite() const { return sprite.current(); }
    HitboxInfo*& currentHitboxes() { return hitboxes.current(); }
    HitboxInfo* currentHitboxes() const { return hitboxes.current(); }
    // Only after hasHitProps() returned true.
    HitProps*& currentHitProps() { return hitProps.current(); }
    HitProps* currentHitProps() const { return hitProps.current(); }
    Ogre::Vector2& currentMovement() { return movement.current(); }
    const Ogre::Vector2& currentMovement() const { return movement.current(); }

    FrameAnimTrack<int> sprite;
    FrameAnimTrack<HitboxInfo*> hitboxes;
    FrameAnimTrack<HitProps*> hitProps;
    FrameAnimTrack<Ogre::Vector2> movement;
    // Per track: the last step made a new segment current. A constant track keeps its flag.
    bool changed[trackCount] = {false, false, false, false};
    bool constant[trackCount] = {false, false, false, false};
};
