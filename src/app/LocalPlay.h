#pragma once

#include "match/MatchDriver.h"

class Match;

// The game as two players at one keyboard play it: every step takes the keyboard's input as it
// is. Owned by the Application; the match is not owned.
class LocalPlay : public MatchDriver {
public:
    explicit LocalPlay(Match& match) : match(match) {}

    bool step(const StepInput& keyboard) override;

private:
    Match& match;
};
