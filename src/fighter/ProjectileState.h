#pragma once

// A fighter's projectile in flight, as a plain value: where it is on the fight line, which way
// it flies and how many steps it has flown. A fighter has at most one out; its look, boxes, hit,
// speed and lifetime are the fighter's data (ProjectileData). Kept in the match state.
struct ProjectileState {
    bool active = false;
    float x = 0;
    float y = 0;
    bool facingLeft = false;
    int age = 0;
};
