#include "match/MatchTick.h"

#include <algorithm>

#include "match/Game.h"
#include "collision/hitTest.h"
#include "fighter/Player.h"
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

} // namespace

MatchTick::MatchTick() : game(Game::getSingletonPtr()) {}

void MatchTick::tick(bool versus) {
    Player& p1 = *game->player1;
    Player& p2 = *game->player2;

    // Hits are tested on the states of the step's start, so both fighters can trade hits in
    // one step, and a hit landed on one does not cancel its own attack in the same step.
    const PlayerState s1 = p1.state;
    const PlayerState s2 = p2.state;

    p1.updateStun();
    p2.updateStun();
    p1.checkBlock(p2.state.attacking);
    p2.checkBlock(p1.state.attacking);

    resolveHit(p2, s2, p1, s1);
    resolveHit(p1, s1, p2, s2);

    p1.selectAction();
    p2.selectAction();
    p1.updateAnimation();
    p2.updateAnimation();
    if (versus)
        keepApart(p1, p2);

    // At equal x the first fighter faces right.
    const bool p1FacesLeft = p2.state.position.x < p1.state.position.x;
    p1.setFacing(p1FacesLeft);
    p2.setFacing(!p1FacesLeft);
}

// The first fighter counts as the left one at equal x, as it faces right there.
void MatchTick::keepApart(Player& p1, Player& p2) {
    Stage::Body body1 = bodyOf(p1);
    Stage::Body body2 = bodyOf(p2);
    Stage::keepApart(body1, body2, p1.state.position.x <= p2.state.position.x);
    if (body1.x != p1.state.position.x)
        p1.placeAt(body1.x);
    if (body2.x != p2.state.position.x)
        p2.placeAt(body2.x);
}

void MatchTick::resolveHit(Player& attacker, const PlayerState& attackerBefore, Player& defender,
                           const PlayerState& defenderBefore) {
    if (!attackerBefore.canHit)
        return;
    if (!hitTest(*attacker.animation.currentHitboxes(), attackerBefore.position.x,
                 attackerBefore.position.y, attackerBefore.facingLeft,
                 *defender.animation.currentHitboxes(), defenderBefore.position.x,
                 defenderBefore.position.y, defenderBefore.facingLeft))
        return;
    defender.takeHit(attacker.animation.currentHitProps());
    attacker.state.canHit = false;
}
