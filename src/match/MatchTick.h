#pragma once

class Game;
class Player;
struct PlayerState;

// One logic step of the fight between the Game's two fighters: stun, blocking, the hit tests
// on a snapshot of both fighters, the choice of actions, animation and movement, then facing.
// Owned by the FixedFrameUpdater.
class MatchTick {
public:
    MatchTick();

    void tick();

private:
    // The attacker's hit lands when the snapshot allowed it to hit and its boxes of the frame
    // on screen reach the defender's.
    static void resolveHit(Player& attacker, const PlayerState& attackerBefore, Player& defender,
                           const PlayerState& defenderBefore);

    Game* game;
};
