#pragma once

class Game;
class Player;
struct PlayerState;

// One logic step of the fight between the Game's two fighters: stun, blocking, the hit tests
// on a snapshot of both fighters, the choice of actions, animation and movement, in a versus
// match the walls and the push between the bodies, then facing. Owned by the Match.
class MatchTick {
public:
    MatchTick();

    void tick(bool versus);

private:
    // The attacker's hit lands when the snapshot allowed it to hit and its boxes of the frame
    // on screen reach the defender's.
    static void resolveHit(Player& attacker, const PlayerState& attackerBefore, Player& defender,
                           const PlayerState& defenderBefore);

    // Walls and bodies: after movement, before facing.
    static void keepApart(Player& p1, Player& p2);

    Game* game;
};
