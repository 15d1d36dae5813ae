#pragma once

#include "cpu/ComputerPlayer.h"
#include "cpu/DelayedView.h"
#include "cpu/FeelMeter.h"

// The plain scripted opponent the computer player is measured against: the same answer to the
// same situation, no search. It walks in, punches in reach and holds back to block an attack it
// sees coming, acting on the match as it was a person's reaction time ago. Owned by the arena.
class ScriptedPlayer : public ComputerPlayer {
public:
    static constexpr int reactionSteps = 15;
    // The punch reaches a body whose position is closer than this.
    static constexpr float punchReach = 98;
    // An attack closer than this is blocked.
    static constexpr float threatDistance = 140;

    explicit ScriptedPlayer(int side);

    InputFrame next(const MatchState& now) override;
    const CpuStats& stats() const override { return meter.stats; }

private:
    InputFrame choose(const MatchState& seen) const;

    const int side;
    DelayedView view{reactionSteps};
    FeelMeter meter;
};
