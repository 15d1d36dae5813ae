#pragma once

#include "cpu/ComputerPlayer.h"
#include "cpu/FeelMeter.h"

// A reference for the arena: the spinning-kick loop a person could play by rote. Each round it
// holds back a moment, then enters the kick's motion every 6 steps, whatever happens, so a kick
// comes out within 6 steps of its fighter being free. Owned by the arena.
class LoopPlayer : public ComputerPlayer {
public:
    // Held back at the start of a round.
    static constexpr int holdBackSteps = 30;
    static constexpr int motionSteps = 6;

    explicit LoopPlayer(int side);

    InputFrame next(const MatchState& now) override;
    const CpuStats& stats() const override { return meter.stats; }

private:
    const int side;
    FeelMeter meter;
    // Steps into the round's fight.
    int fighting = 0;
};
