#include "cpu/LoopPlayer.h"

#include "cpu/CpuPlayer.h"
#include "match/MatchState.h"

LoopPlayer::LoopPlayer(int side) : side(side) {}

InputFrame LoopPlayer::next(const MatchState& now) {
    const bool facingLeft = now.fighters[static_cast<std::size_t>(side)].state.facingLeft;
    InputFrame frame;
    if (now.rules.versus && now.round.phase != RoundState::Fighting) {
        fighting = 0;
        frame.pressed[0] = now.round.phase == RoundState::MatchOver &&
                           meter.sinceLastPress() >= CpuPlayer::pressGapSteps;
    } else if (fighting++ < holdBackSteps) {
        frame.direction = mirrorDirection(Direction::Left, facingLeft);
    } else {
        // Down, down-back, back, then back with the kick button.
        const Direction::eDirection motion[motionSteps] = {Direction::Down,     Direction::Down,
                                                           Direction::DownLeft, Direction::DownLeft,
                                                           Direction::Left,     Direction::Left};
        const int at = (fighting - holdBackSteps - 1) % motionSteps;
        frame.direction = mirrorDirection(motion[at], facingLeft);
        frame.pressed[1] = at == motionSteps - 1;
    }
    meter.record(frame, true);
    return frame;
}
