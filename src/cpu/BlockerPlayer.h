#pragma once

#include "cpu/ComputerPlayer.h"
#include "cpu/FeelMeter.h"

// A reference for the arena: a player who only holds back, so blocks every attack it can, and
// never attacks. Owned by the arena.
class BlockerPlayer : public ComputerPlayer {
public:
    explicit BlockerPlayer(int side);

    InputFrame next(const MatchState& now) override;
    const CpuStats& stats() const override { return meter.stats; }

private:
    const int side;
    FeelMeter meter;
};
