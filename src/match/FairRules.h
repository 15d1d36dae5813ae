#pragma once

#include "collision/HitProps.h"
#include "fighter/ComboState.h"
#include "fighter/PlayerState.h"

// What hits do under the versus rules of fair fights (MatchRules::fairVersion), as the rules'
// numbers, the same for every fighter, and plain functions the match tick applies: combos end,
// blocked hits push the blocker back, and blocked special moves take a little health.
namespace FairRules {

// A combo ends with its 6th hit, or with the hit that takes its damage to a quarter of full
// health: that hit takes only what is left of the quarter and leaves no hit stun, so the fighter
// is free to act (to block) on the next step.
constexpr int comboHitLimit = 6;
constexpr int comboDamageLimit = PlayerState::fullHealth / 4;
// A combo is remembered for a second after the fighter is free again, for the HUD.
constexpr int comboKeptSteps = 60;
// A blocked special move takes this share of its damage, in percent, and at least 1.
constexpr int chipPercent = 20;
// A blocked hit pushes the blocker back this far over the first steps of its block stun; what a
// wall stops of it pushes the attacker back.
constexpr int pushbackSteps = 10;
constexpr float pushbackPerStep = 2.5f;

// Under the rules where every blocked attack leaves an opening (MatchRules::openingsVersion): after
// each blocked hit the attacker can act this many steps after the blocker at the earliest, the
// start-up of the roster's fastest punch, so a punch from the blocker lands first.
constexpr int blockedBehindSteps = 17;

// The hit landing on a fighter as its combo lets it land, and counted into the combo: the combo
// goes on while the fighter is still in hit stun from the hit before (stillStunned), and a new
// one starts otherwise.
HitProps comboHit(ComboState& combo, bool stillStunned, const HitProps& props);
// The health a blocked hit takes.
int chip(const HitProps& props, bool specialMove);
// The stun an attacker is to keep once its attack ends, after a hit of it was blocked with
// blockerStun (the blocker's stun count as given) while the attack had attackStepsLeft
// (FrameAnimation::stepsLeft) to run; 0 when the attack leaves it far enough behind as it is.
int blockedAttackStun(int attackStepsLeft, int blockerStun);
// A combo's step once the step's hits landed: it runs while the fighter is in hit stun, is
// remembered for comboKeptSteps after, then forgotten.
void age(ComboState& combo, bool inHitStun);

} // namespace FairRules
