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

void age(ComboState& combo, bool inHitStun) {
    if (inHitStun || combo.hits == 0)
        return;
    if (++combo.stepsSinceEnd > comboKeptSteps)
        combo = ComboState();
}

} // namespace FairRules
