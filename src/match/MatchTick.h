#pragma once

#include "match/Projectiles.h"
#include "match/Throws.h"

class Game;
struct HitProps;
class Player;
struct MatchRules;
struct PlayerState;
struct RoundState;

// One logic step of the fight between the Game's two fighters: stun, blocking, the hit tests
// on a snapshot of both fighters, the choice of actions, animation and movement, in a versus
// match the walls and the push between the bodies, then facing. Under the versus rules of fair
// fights also the combos' limits, the push back and chip damage of blocked hits, and no hit once
// the round has ended; and at equal x the fighters keep their sides. Under the rules where every
// blocked attack leaves an opening also the attacker's wait after a blocked hit and the spending
// of a motion by the press that completed it. Projectiles land with the hits and fly after the
// movement, throws grab and hold after it. Owned by the Match.
class MatchTick {
public:
    explicit MatchTick(Game& game);

    void tick(const MatchRules& rules, const RoundState& round);

private:
    // The attacker's hit lands when the snapshot allowed it to hit and its boxes of the frame
    // on screen reach the defender's.
    void resolveHit(Player& attacker, const PlayerState& attackerBefore, Player& defender,
                    const PlayerState& defenderBefore, const MatchRules& rules);
    // A landed hit under the rules of fair fights.
    void landFairly(Player& attacker, Player& defender, bool openings);
    // A projectile's hit; under the rules of fair fights a blocked one chips.
    void landProjectile(const HitProps& props, Player& defender, bool fair);
    static bool landOn(Player& defender, const HitProps& props, bool special);

    // Walls and bodies: after movement, before facing.
    void keepApart(Player& p1, Player& p2, bool fair) const;

    Game& game;
    Projectiles projectiles;
    Throws throws;
};
