#pragma once

struct MatchState;

// Whoever presents the match from its states alone (the sound) as the drivers run its steps.
// It reads the states and never changes the match. A step run again after a rollback is
// reported again under its own number, so the presenter can tell a re-run from a new step.
class StepPresenter {
public:
    virtual ~StepPresenter() = default;

    // Steps are numbered by the driver, from 0 or from where it started.
    virtual void stepRan(int step, const MatchState& before, const MatchState& after) = 0;
    // The match jumped to another point (went back, was reset, paused): nothing of what is
    // presented now belongs to it any more.
    virtual void silence() = 0;
};
