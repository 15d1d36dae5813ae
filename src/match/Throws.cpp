#include "match/Throws.h"

#include <algorithm>
#include <cmath>

#include "anim/CharacterData.h"
#include "fighter/Player.h"
#include "match/Game.h"

namespace {

// The stun a held fighter keeps: more than the one step its stun update takes off, so it never
// acts while held.
constexpr int heldStun = 2;

float forward(const Player& player) {
    return player.state.facingLeft ? -1.0f : 1.0f;
}

void stagger(PlayerState& state, PlayerState::Action action, int stun) {
    state.action = action;
    state.attacking = false;
    state.canAct = false;
    state.canHit = false;
    state.stunFrames = stun;
}

} // namespace

Throws::Throws(Game& game) : game(game) {}

void Throws::step() {
    ThrowState& grab = game.grab;
    if (grab.holding()) {
        ++grab.steps;
        hold(game.fighter(grab.thrower), game.fighter(1 - grab.thrower));
        return;
    }
    const bool first = grabs(0);
    const bool second = grabs(1);
    if (first && second) {
        escape(*game.player1, *game.player2);
        return;
    }
    if (!first && !second)
        return;
    grab.thrower = first ? 0 : 1;
    grab.steps = 0;
    Player& thrown = game.fighter(1 - grab.thrower);
    stagger(thrown.state, PlayerState::Hit, heldStun);
    hold(game.fighter(grab.thrower), thrown);
}

// On the grab step of its throw, counted from 1 as the frame data counts.
bool Throws::grabs(int side) const {
    const Player& thrower = game.fighter(side);
    const auto& data = thrower.character->throwMove;
    if (!data || thrower.state.action != PlayerState::Throw ||
        thrower.currentAnimAction != PlayerState::Throw ||
        thrower.animation.sprite.position().currentFrame != data->grab - 1)
        return false;
    const PlayerState& other = game.fighter(1 - side).state;
    const bool inHitStun = other.action == PlayerState::Hit && other.stunFrames > 0;
    return !inHitStun && other.position.y <= 0 &&
           std::abs(other.position.x - thrower.state.position.x) <= data->reach;
}

void Throws::hold(Player& thrower, Player& thrown) {
    const ThrowData& data = *thrower.character->throwMove;
    const bool pressed = thrown.history.newest().pressed[data.button];
    if (game.grab.steps > 0 && game.grab.steps <= escapeSteps && pressed) {
        escape(thrower, thrown);
        return;
    }
    if (thrower.state.action != PlayerState::Throw) {
        release(thrower, thrown);
        return;
    }
    thrower.state.position.x = std::clamp(thrower.state.position.x, -game.walls, game.walls);
    thrown.state.position.x = std::clamp(thrower.state.position.x + forward(thrower) * data.holdX,
                                         -game.walls, game.walls);
    thrown.state.position.y = thrower.state.position.y + data.holdY;
    thrown.state.stunFrames = heldStun;
}

void Throws::release(Player& thrower, Player& thrown) {
    const ThrowData& data = *thrower.character->throwMove;
    game.grab = ThrowState{};
    thrown.state.position.x = thrower.state.position.x + forward(thrower) * data.releaseX;
    thrown.state.position.y = 0;
    stagger(thrown.state, PlayerState::Hit, data.stun + 1);
    thrown.state.health -= data.damage;
}

void Throws::escape(Player& thrower, Player& thrown) {
    game.grab = ThrowState{};
    thrown.state.position.x = thrower.state.position.x + forward(thrower) * escapeDistance;
    thrown.state.position.y = 0;
    stagger(thrower.state, PlayerState::Block, escapeStun);
    stagger(thrown.state, PlayerState::Block, escapeStun);
}
