#include "match/FairRules.h"

#include <algorithm>

namespace FairRules {

HitProps comboHit(ComboState& combo, bool stillStunned, const HitProps& props) {
    if (!stillStunned)
        combo = ComboState();
    HitProps landed = props;
    landed.damage = std::min(props.damage, comboDamageLimit - combo.damage);
    ++combo.hits;
    combo.damage += landed.damage;
    combo.stepsSinceEnd = 0;
    if (combo.hits >= comboHitLimit || combo.damage >= comboDamageLimit)
        landed.hitStun = 0;
    return landed;
}

int chip(const HitProps& props, bool specialMove) {
    if (!specialMove || props.damage <= 0)
        return 0;
    return std::max(1, props.damage * chipPercent / 100);
}

// The blocker can act blockerStun steps after the hit; the attacker, when its attack finishes
// attackStepsLeft steps after the hit, on the step after, or with stun S kept, S steps after.
int blockedAttackStun(int attackStepsLeft, int blockerStun) {
    const int stun = blockerStun + blockedBehindSteps - attackStepsLeft;
    return stun > 1 ? stun : 0;
}

void age(ComboState& combo, bool inHitStun) {
    if (inHitStun || combo.hits == 0)
        return;
    if (++combo.stepsSinceEnd > comboKeptSteps)
        combo = ComboState();
}

} // namespace FairRules
