#include "match/MatchTick.h"

#include <algorithm>
#include <array>

#include "anim/CharacterData.h"
#include "collision/hitTest.h"
#include "fighter/Player.h"
#include "match/FairRules.h"
#include "match/Game.h"
#include "match/MatchRules.h"
#include "match/RoundState.h"
#include "match/Stage.h"

namespace {

// The fighter's body boxes along the fight line, as the hit test places them.
Stage::Body bodyOf(const Player& player) {
    Stage::Body body{player.state.position.x, 0, 0};
    bool first = true;
    for (AABB box : player.animation.currentHitboxes()->bodyBoxes) {
        if (player.state.facingLeft)
            box.mirror();
        body.left = first ? box.left : std::min(body.left, box.left);
        body.right = first ? box.right : std::max(body.right, box.right);
        first = false;
    }
    return body;
}

bool inHitStun(const PlayerState& state) {
    return state.action == PlayerState::Hit && state.stunFrames > 0;
}

// A fighter pushed back by a blocked hit moves away from the way it faces.
void slide(PlayerState& state, Stage::Body& body, Stage::Body& other, float walls) {
    if (state.pushbackSteps == 0)
        return;
    --state.pushbackSteps;
    Stage::slideBack(body, other,
                     state.facingLeft ? FairRules::pushbackPerStep : -FairRules::pushbackPerStep,
                     walls);
}

} // namespace

MatchTick::MatchTick(Game& game) : game(game), projectiles(game), throws(game) {}

void MatchTick::tick(const MatchRules& rules, const RoundState& round) {
    Player& p1 = *game.player1;
    Player& p2 = *game.player2;
    const bool fair = rules.playsFair();

    // Hits are tested on the states of the step's start, so both fighters can trade hits in
    // one step, and a hit landed on one does not cancel its own attack in the same step.
    const PlayerState s1 = p1.state;
    const PlayerState s2 = p2.state;

    p1.updateStun();
    p2.updateStun();
    // A projectile out is blocked like an attack.
    p1.checkBlock(p2.state.attacking || game.projectiles[1].active);
    p2.checkBlock(p1.state.attacking || game.projectiles[0].active);

    // Under fair rules a round that has ended is decided: nothing lands until the next one.
    if (!fair || round.phase == RoundState::Fighting) {
        resolveHit(p2, s2, p1, s1, rules);
        resolveHit(p1, s1, p2, s2, rules);
        const std::array<const HitProps*, 2> struck = projectiles.strike(s1, s2);
        for (int side = 0; side < 2; ++side)
            if (struck[static_cast<std::size_t>(side)])
                landProjectile(*struck[static_cast<std::size_t>(side)], game.fighter(side), fair);
    }
    if (fair) {
        FairRules::age(p1.state.combo, inHitStun(p1.state));
        FairRules::age(p2.state.combo, inHitStun(p2.state));
    }

    p1.selectAction(rules.playsOpenings());
    p2.selectAction(rules.playsOpenings());
    p1.updateAnimation();
    p2.updateAnimation();
    throws.step();
    projectiles.fly();
    // A held fighter stays where the throw holds it.
    if (rules.versus && !game.grab.holding())
        keepApart(p1, p2, fair);

    // At equal x the first fighter faces right; under fair rules both keep the way they face.
    const bool equal = p1.state.position.x == p2.state.position.x;
    const bool p1FacesLeft =
        fair && equal ? p1.state.facingLeft : p2.state.position.x < p1.state.position.x;
    p1.setFacing(p1FacesLeft);
    p2.setFacing(!p1FacesLeft);
}

// The first fighter counts as the left one at equal x, as it faces right there; under fair
// rules the one facing right does.
void MatchTick::keepApart(Player& p1, Player& p2, bool fair) const {
    Stage::Body body1 = bodyOf(p1);
    Stage::Body body2 = bodyOf(p2);
    if (fair) {
        slide(p1.state, body1, body2, game.walls);
        slide(p2.state, body2, body1, game.walls);
    }
    const float x1 = p1.state.position.x;
    const float x2 = p2.state.position.x;
    const bool firstOnTheLeft = x1 < x2 || (x1 == x2 && (!fair || !p1.state.facingLeft));
    Stage::keepApart(body1, body2, firstOnTheLeft, game.walls);
    if (body1.x != p1.state.position.x)
        p1.placeAt(body1.x);
    if (body2.x != p2.state.position.x)
        p2.placeAt(body2.x);
}

void MatchTick::resolveHit(Player& attacker, const PlayerState& attackerBefore, Player& defender,
                           const PlayerState& defenderBefore, const MatchRules& rules) {
    if (!attackerBefore.canHit)
        return;
    if (!hitTest(*attacker.animation.currentHitboxes(), attackerBefore.position.x,
                 attackerBefore.position.y, attackerBefore.facingLeft,
                 *defender.animation.currentHitboxes(), defenderBefore.position.x,
                 defenderBefore.position.y, defenderBefore.facingLeft))
        return;
    if (rules.playsFair())
        landFairly(attacker, defender, rules.playsOpenings());
    else
        defender.takeHit(attacker.animation.currentHitProps());
    attacker.state.canHit = false;
}

void MatchTick::landFairly(Player& attacker, Player& defender, bool openings) {
    const bool blocked =
        landOn(defender, *attacker.animation.currentHitProps(),
               attacker.character->isSpecialMove(attacker.currentAnimAction));
    if (blocked && openings)
        attacker.state.stunFrames = std::max(
            attacker.state.stunFrames,
            FairRules::blockedAttackStun(attacker.animation.stepsLeft(), defender.state.stunFrames));
}

// A projectile is a special move's hit; far from its fighter, it leaves it no opening.
void MatchTick::landProjectile(const HitProps& props, Player& defender, bool fair) {
    if (fair)
        landOn(defender, props, true);
    else
        defender.takeHit(&props);
}

// A hit under fair rules: on a blocker, its chip and push back; else within the combo's limits.
// True when it was blocked.
bool MatchTick::landOn(Player& defender, const HitProps& props, bool special) {
    PlayerState& state = defender.state;
    if (state.action == PlayerState::Block) {
        defender.takeHit(&props);
        state.health -= FairRules::chip(props, special);
        state.pushbackSteps = FairRules::pushbackSteps;
        return true;
    }
    const HitProps landed = FairRules::comboHit(state.combo, inHitStun(state), props);
    defender.takeHit(&landed);
    return false;
}
