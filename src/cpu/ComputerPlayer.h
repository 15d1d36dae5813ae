#pragma once

#include "cpu/CpuStats.h"
#include "input/InputFrame.h"

struct MatchState;

// A player the computer plays: before every step it is shown the match as it stands and gives
// the frame its fighter's controls hold in that step, as a keyboard would. Of the match it may
// use only what its reaction time lets it see. The driver that steps the match owns it; the
// match knows nothing of it.
class ComputerPlayer {
public:
    virtual ~ComputerPlayer() = default;

    // Once per step, with the match before that step.
    virtual InputFrame next(const MatchState& now) = 0;
    virtual const CpuStats& stats() const = 0;
};
