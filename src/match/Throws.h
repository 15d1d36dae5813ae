#pragma once

class Game;
class Player;

// The fighters' throws: a throw grabs on its grab step an opponent standing within its reach
// who is neither in hit stun nor off the ground, whatever it does (a block does not stop it);
// it holds them where the thrower's data says until the throw's action ends, then lets go of
// them at its release place with the throw's damage and stun. Pressing the throw's button
// within a short window after the grab escapes it: both are pushed apart, unhurt; so are two
// throws that grab on the same step. Called by the match tick, on the Game's throw; a match
// whose fighters have no throw never holds one.
class Throws {
public:
    // Steps after the grab in which the thrown fighter may escape: a sixth of a second.
    static constexpr int escapeSteps = 10;
    // How far apart an escape leaves the two, and the steps until both can act again.
    static constexpr float escapeDistance = 100;
    static constexpr int escapeStun = 12;

    explicit Throws(Game& game);

    // After the fighters' animations stepped: grabs, holds, escapes or lets go.
    void step();

private:
    bool grabs(int side) const;
    void hold(Player& thrower, Player& thrown);
    void release(Player& thrower, Player& thrown);
    void escape(Player& thrower, Player& thrown);

    Game& game;
};
