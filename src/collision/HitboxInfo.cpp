#include "collision/HitboxInfo.h"

void HitboxInfo::addBox(const AABB& box, bool attack) {
    if (attack) {
        attackBoxes.push_back(box);
        return;
    }
    bodyBoxes.push_back(box);
}
