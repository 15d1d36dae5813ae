#include "match/FrameDataProbe.h"

#include <stdexcept>
#include <string>

#include "anim/CharacterData.h"
#include "collision/HitProps.h"
#include "fighter/Player.h"
#include "match/Game.h"

namespace {

// Longer than any move and its stun: a move still running after it is a fault of the data.
constexpr int stepLimit = 1000;

InputFrame frameOf(Direction::eDirection direction, bool punch = false, bool kick = false) {
    InputFrame frame;
    frame.direction = direction;
    frame.pressed[0] = punch;
    frame.pressed[1] = kick;
    return frame;
}

// The inputs of the move for the left fighter, facing right, one step each; the last one is
// the press. A special move is entered as its fighter's motion says: a direction of each of its
// steps, the button pressed with the last.
std::vector<InputFrame> commandOf(const CharacterData& character, PlayerState::Action move) {
    if (move == PlayerState::HP)
        return {frameOf(Direction::Neutral, true)};
    for (const auto& [motion, action] : character.moves) {
        if (action != move)
            continue;
        std::vector<InputFrame> command;
        for (const MoveComponent& component : motion->components)
            command.push_back(frameOf(*component.directions.begin()));
        command.back().pressed[motion->button] = true;
        return command;
    }
    throw std::invalid_argument("No frame data for action " + std::to_string(move));
}

bool attackLive(const Player& player) {
    return player.animation.hasHitProps() && player.animation.currentHitProps()->active;
}

// A hit shows in the attacker's spent attack, or in the defender's health or stun when a new
// active segment re-armed the attack in the same step.
bool hitLanded(const PlayerState& attackerBefore, const PlayerState& attackerAfter,
               const PlayerState& defenderBefore, const PlayerState& defenderAfter) {
    if (!attackerBefore.canHit)
        return false;
    const int countedDown = defenderBefore.stunFrames > 0 ? defenderBefore.stunFrames - 1 : 0;
    return !attackerAfter.canHit || defenderAfter.health < defenderBefore.health ||
           defenderAfter.stunFrames != countedDown;
}

} // namespace

struct FrameDataProbe::Run {
    MoveFrameData data;
    std::vector<MoveFrameData::Hit> hits;
    int attackerFree = 0;
};

FrameDataProbe::FrameDataProbe(Game& game, const MatchRules& rules)
    : game(game), match(game), rules(rules) {}

MoveFrameData FrameDataProbe::measure(PlayerState::Action move) {
    Run hit = run(move, false);
    Run block = run(move, true);
    hit.data.onHit = hit.hits;
    hit.data.onBlock = block.hits;
    return hit.data;
}

FrameDataProbe::Run FrameDataProbe::run(PlayerState::Action move, bool blocking) {
    reset();
    const std::vector<InputFrame> command = commandOf(*game.player1->character, move);
    const int pressAt = static_cast<int>(command.size()) - 1;
    for (int i = 0; i < pressAt; ++i)
        step(command[static_cast<std::size_t>(i)], blocking, i - pressAt + 1);

    Player& attacker = *game.player1;
    Player& defender = *game.player2;
    Run run;
    std::size_t unresolved = 0;
    for (int s = 1; run.attackerFree == 0 || unresolved < run.hits.size(); ++s) {
        if (s > stepLimit)
            throw std::logic_error("The move did not end within " + std::to_string(stepLimit) +
                                   " steps");
        if (s > 1 && run.attackerFree == 0 && canAct(attacker.state))
            run.attackerFree = s;
        for (; unresolved < run.hits.size() && canAct(defender.state); ++unresolved)
            run.hits[unresolved].advantage = s;
        if (run.attackerFree == 0 && attackLive(attacker)) {
            if (run.data.active == 0 || run.data.activeWindows.back().second != s - 1)
                run.data.activeWindows.emplace_back(s, s);
            run.data.activeWindows.back().second = s;
            ++run.data.active;
        }

        const PlayerState attackerBefore = attacker.state;
        const PlayerState defenderBefore = defender.state;
        step(s == 1 ? command.back() : frameOf(Direction::Neutral), blocking, s);
        if (!hitLanded(attackerBefore, attacker.state, defenderBefore, defender.state))
            continue;
        MoveFrameData::Hit landed;
        landed.step = s;
        landed.damage = defenderBefore.health - defender.state.health;
        landed.stun = isolatedStun(blocking, s);
        run.hits.push_back(landed);
    }
    // Until now advantage held the step on which the defender could act again.
    for (MoveFrameData::Hit& hit : run.hits)
        hit.advantage -= run.attackerFree;
    run.data.total = run.attackerFree - 1;
    run.data.startup = run.data.activeWindows.empty() ? 0 : run.data.activeWindows.front().first;
    run.data.recovery = run.data.total -
                        (run.data.activeWindows.empty() ? 0 : run.data.activeWindows.back().second);
    return run;
}

// Both fighters as at the start of a match, the defender in reach facing the attacker.
void FrameDataProbe::reset() {
    MatchState start;
    start.fighters[0] = game.player1->startAt(0, false);
    start.fighters[1] = game.player2->startAt(distance, true);
    start.rules = rules;
    start.round.timer = rules.roundSteps;
    match.restore(start);
}

// The defender holds back (away from the attacker) from the step after the press on when
// blocking, so it does not walk away before the attack starts.
void FrameDataProbe::step(const InputFrame& attacker, bool blocking, int stepNumber) {
    StepInput input;
    input.players[0] = attacker;
    input.players[1] = frameOf(blocking && stepNumber > 1 ? Direction::Right : Direction::Neutral);
    match.step(input);
}

// The stun of the hit that landed on this step alone: the attacker is taken out of reach, and
// the defender plays on until it can act.
int FrameDataProbe::isolatedStun(bool blocking, int hitStep) {
    const MatchState atHit = match.save();
    MatchState apart = atHit;
    apart.fighters[0].state.position.x -= 1000;
    match.restore(apart);
    int s = hitStep + 1;
    for (; !canAct(game.player2->state); ++s) {
        if (s > hitStep + stepLimit)
            throw std::logic_error("The defender stayed stunned for " + std::to_string(stepLimit) +
                                   " steps");
        step(frameOf(Direction::Neutral), blocking, s);
    }
    match.restore(atHit);
    return s - hitStep - 1;
}
