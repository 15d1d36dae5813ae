#pragma once

#include <memory>

#include "match/MatchDriver.h"

class ComputerPlayer;
class CpuLabel;
class Match;
struct CpuSettings;

// Lets the computer play one fighter of a local match: before every step the driver it wraps
// runs, the computer's frame takes the place of that player's keys, so a recording records it
// and the sync test runs it again like a player's. The lab runs its steps itself: there the
// computer is handed to it and plays the second fighter whenever the dummy does not. Shows
// "CPU n" under the fighter's health and writes the level and seed to the log. Owned by the
// Application; owns the driver it wraps.
class CpuDriver : public MatchDriver {
public:
    CpuDriver(std::unique_ptr<MatchDriver> inner, Match& match, const CpuSettings& options);
    ~CpuDriver() override;

    bool step(const StepInput& keyboard) override;
    void finish() override { inner->finish(); }
    bool pictureChanged() const override { return inner->pictureChanged(); }
    void presentTo(StepPresenter& presenter) override { inner->presentTo(presenter); }

private:
    std::unique_ptr<MatchDriver> inner;
    Match& match;
    const int side;
    std::unique_ptr<ComputerPlayer> player;
    std::unique_ptr<CpuLabel> label;
    bool lab;
};
