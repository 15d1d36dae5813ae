#include "cpu/RotePlayer.h"

#include "cpu/CpuPlayer.h"
#include "match/MatchState.h"

RotePlayer::RotePlayer(int side, InputLoop loop) : side(side), loop(std::move(loop)) {}

InputFrame RotePlayer::next(const MatchState& now) {
    InputFrame frame;
    if (now.rules.versus && now.round.phase != RoundState::Fighting) {
        fighting = 0;
        frame.pressed[0] = now.round.phase == RoundState::MatchOver &&
                           meter.sinceLastPress() >= CpuPlayer::pressGapSteps;
    } else {
        frame = loop.steps[fighting++ % loop.steps.size()];
        frame.direction = mirrorDirection(
            frame.direction, now.fighters[static_cast<std::size_t>(side)].state.facingLeft);
    }
    meter.record(frame, true);
    return frame;
}
