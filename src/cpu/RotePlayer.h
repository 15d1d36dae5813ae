#pragma once

#include "cpu/ComputerPlayer.h"
#include "cpu/FeelMeter.h"
#include "cpu/InputLoop.h"

// A reference for the arena and the hunt: a fixed loop of inputs played by rote from each
// round's first fighting step, whatever happens; after a match it punches once for the
// rematch. Owned by the arena or the hunt.
class RotePlayer : public ComputerPlayer {
public:
    RotePlayer(int side, InputLoop loop);

    InputFrame next(const MatchState& now) override;
    const CpuStats& stats() const override { return meter.stats; }

private:
    const int side;
    const InputLoop loop;
    FeelMeter meter;
    // Steps into the round's fight.
    std::size_t fighting = 0;
};
