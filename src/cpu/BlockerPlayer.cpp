#include "cpu/BlockerPlayer.h"

#include "cpu/CpuPlayer.h"
#include "match/MatchState.h"

BlockerPlayer::BlockerPlayer(int side) : side(side) {}

// After a match it punches once, for the rematch.
InputFrame BlockerPlayer::next(const MatchState& now) {
    InputFrame frame;
    if (now.rules.versus && now.round.phase == RoundState::MatchOver)
        frame.pressed[0] = meter.sinceLastPress() >= CpuPlayer::pressGapSteps;
    else
        frame.direction = mirrorDirection(
            Direction::Left, now.fighters[static_cast<std::size_t>(side)].state.facingLeft);
    meter.record(frame, true);
    return frame;
}
