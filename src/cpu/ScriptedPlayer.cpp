#include "cpu/ScriptedPlayer.h"

#include <cmath>

#include "cpu/CpuPlayer.h"

ScriptedPlayer::ScriptedPlayer(int side) : side(side) {}

InputFrame ScriptedPlayer::next(const MatchState& now) {
    view.observe(now);
    const InputFrame frame = choose(view.seen());
    meter.record(frame, true);
    view.played(frame);
    return frame;
}

InputFrame ScriptedPlayer::choose(const MatchState& seen) const {
    const PlayerState& me = seen.fighters[static_cast<std::size_t>(side)].state;
    const PlayerState& other = seen.fighters[static_cast<std::size_t>(1 - side)].state;
    const bool pressFree = meter.sinceLastPress() >= CpuPlayer::pressGapSteps;
    InputFrame frame;
    if (seen.rules.versus && seen.round.phase != RoundState::Fighting) {
        frame.pressed[0] = seen.round.phase == RoundState::MatchOver && pressFree;
        return frame;
    }
    const float distance = std::fabs(me.position.x - other.position.x);
    const auto toward = [&me](Direction::eDirection relative) {
        return mirrorDirection(relative, me.facingLeft);
    };
    if (other.attacking && distance < threatDistance)
        frame.direction = toward(Direction::Left);
    else if (distance < punchReach)
        frame.pressed[0] = pressFree && me.canAct;
    else
        frame.direction = toward(Direction::Right);
    return frame;
}
