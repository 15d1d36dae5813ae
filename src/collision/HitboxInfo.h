#pragma once

#include <vector>

#include "collision/AABB.h"

// The boxes of one animation segment: those that deal hits and those that can be hit.
// Built once by the character data, which owns it; animation tracks only point to it.
class HitboxInfo {
public:
    void addBox(const AABB& box, bool attack);

    std::vector<AABB> attackBoxes;
    std::vector<AABB> bodyBoxes;
};
