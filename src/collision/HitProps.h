#pragma once

// What a landing attack does to the defender. The numbers are only read while active is set.
// Owned by the character data; animation tracks only point to it.
struct HitProps {
    bool active = false;
    int damage = 0;
    int hitStun = 0;
    int blockStun = 0;
};
