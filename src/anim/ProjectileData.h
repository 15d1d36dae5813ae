#pragma once

class HitboxInfo;
struct HitProps;

// What a fighter's projectile move sends out, as its file describes it: the step of the move
// on which it appears and where (in the fighter's frame), its sprite, boxes and hit, how far it
// flies a step and for how many steps. Owned by the character data.
struct ProjectileData {
    // The move's step (1 for its first) on which the projectile appears.
    int launch = 1;
    float x = 0;
    float y = 0;
    int sprite = 0;
    const HitboxInfo* boxes = nullptr;
    const HitProps* hit = nullptr;
    float speed = 1;
    int lifetime = 1;
};
