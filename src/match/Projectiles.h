#pragma once

#include <array>

struct HitProps;
class Game;
struct PlayerState;

// The fighters' projectiles: a projectile move sends one out on its launch step, unless the
// fighter has one out already; it flies straight at its speed and goes at the walls, at the end
// of its lifetime, when it meets the other fighter's projectile (both go) or when it lands on
// the other fighter, hit or blocked like an attack. Called by the match tick, on the Game's
// projectiles; a match whose fighters have no projectile moves never has one out.
class Projectiles {
public:
    explicit Projectiles(Game& game);

    // Which projectile reaches which fighter with the fighters as they stood at the step's
    // start (first, second) and the projectiles where they were: hits[side] is the hit taken by the
    // fighter on that side, null for none. Those that land are gone.
    std::array<const HitProps*, 2> strike(const PlayerState& first, const PlayerState& second);

    // After the fighters moved: those out fly on, go at the walls, at their lifetime's end and
    // on meeting each other; the projectile moves on their launch step send out new ones.
    void fly();

private:
    void launch(int side);

    Game& game;
};
