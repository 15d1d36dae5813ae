#include "collision/hitTest.h"

namespace {

// Mirroring comes first so that a box is reflected about its own fighter's position.
AABB placed(AABB box, float x, float y, bool facingLeft) {
    if (facingLeft)
        box.mirror();
    box.translate(x, y);
    return box;
}

} // namespace

bool hitTest(const HitboxInfo& attacker, float attackerX, float attackerY, bool attackerFacingLeft,
             const HitboxInfo& defender, float defenderX, float defenderY,
             bool defenderFacingLeft) {
    for (const AABB& attackBox : attacker.attackBoxes) {
        const AABB attack = placed(attackBox, attackerX, attackerY, attackerFacingLeft);
        for (const AABB& bodyBox : defender.bodyBoxes) {
            if (overlaps(attack, placed(bodyBox, defenderX, defenderY, defenderFacingLeft)))
                return true;
        }
    }
    return false;
}
