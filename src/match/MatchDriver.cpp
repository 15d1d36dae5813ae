#include "match/MatchDriver.h"

#include "match/Match.h"
#include "match/StepPresenter.h"

bool MatchDriver::presentedStep(Match& match, const StepInput& input, int step) {
    if (!presenter)
        return match.step(input);
    const MatchState before = match.save();
    const bool keepRunning = match.step(input);
    presenter->stepRan(step, before, match.save());
    return keepRunning;
}
