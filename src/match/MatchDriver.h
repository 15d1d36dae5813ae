#pragma once

#include <functional>

#include "input/StepInput.h"

class Match;
class StepPresenter;

// What one logic step of the program does with the match, given what the keyboard says: play
// it locally, test its determinism, play back a replay, play online or run the lab. The frame
// updater calls the one the program was started with once per tick of its 1/60 s clock; every
// driver runs one step of the match on it, except the lab's, which may hold the match still or
// take it back. The Application owns it.
class MatchDriver {
public:
    virtual ~MatchDriver() = default;

    // False when the program is to end.
    virtual bool step(const StepInput& keyboard) = 0;
    // The program ends for a reason of its own (the window closed, a signal), before the match
    // is logged: a driver that shares the match with someone settles it with them here.
    virtual void finish() {}
    // Whether the last step changed what the screen shows: the program draws a picture only
    // then. Every driver's step moves the match, except the lab's while it stands paused.
    virtual bool pictureChanged() const { return true; }

    // Every step the driver runs from now on, a re-run one too, reaches the presenter, which
    // must outlive the driver.
    virtual void presentTo(StepPresenter& presenter) { this->presenter = &presenter; }

protected:
    // One step of the match, told to the presenter if there is one; false when the program is
    // to end.
    bool presentedStep(Match& match, const StepInput& input, int step);
    // The same for a step that something else runs on the match (a replay's view of it).
    bool presentedStep(const Match& match, int step, const std::function<bool()>& run);

    StepPresenter* presenter = nullptr;
};
