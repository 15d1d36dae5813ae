#pragma once

#include "collision/HitboxInfo.h"

// True when one of the attacker's attack boxes overlaps one of the defender's body boxes, each
// box mirrored for a fighter facing left and then placed at its fighter's position. The box
// sets themselves are left untouched. Not symmetric: run it once with each fighter attacking.
bool hitTest(const HitboxInfo& attacker, float attackerX, float attackerY, bool attackerFacingLeft,
             const HitboxInfo& defender, float defenderX, float defenderY, bool defenderFacingLeft);
