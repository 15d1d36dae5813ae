#pragma once

#include "match/MatchDriver.h"
#include "match/MatchTimeline.h"

class Match;

// Plays the match from the keyboard as usual, but after every step goes back a number of steps
// and runs them again, as a rollback would: a match that does not come out the same ends the
// program with a report naming the step and the fields that differ. Owned by the Application.
class SyncTest : public MatchDriver {
public:
    SyncTest(Match& match, int rollbackSteps);

    bool step(const StepInput& keyboard) override;
    void presentTo(StepPresenter& presenter) override { timeline.presentTo(&presenter); }

private:
    Match& match;
    MatchTimeline timeline;
    int rollbackSteps;
};
