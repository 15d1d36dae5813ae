#pragma once

#include <memory>

#include "match/MatchDriver.h"

class Match;
class ReplayRecorder;

// The game as two players at one keyboard play it: every step takes the keyboard's input as it
// is, and with a recorder every step is recorded too. Owned by the Application; the match is
// not owned, the recorder is, so the replay file is finished however the game ends.
class LocalPlay : public MatchDriver {
public:
    explicit LocalPlay(Match& match, std::unique_ptr<ReplayRecorder> recorder = nullptr);
    ~LocalPlay() override;

    bool step(const StepInput& keyboard) override;

private:
    Match& match;
    std::unique_ptr<ReplayRecorder> recorder;
    int steps = 0;
};
