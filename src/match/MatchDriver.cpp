#include "match/MatchDriver.h"

#include "match/Match.h"
#include "match/StepPresenter.h"

bool MatchDriver::presentedStep(Match& match, const StepInput& input, int step) {
    return presentedStep(match, step, [&] { return match.step(input); });
}

bool MatchDriver::presentedStep(const Match& match, int step, const std::function<bool()>& run) {
    if (!presenter)
        return run();
    const MatchState before = match.save();
    const bool keepRunning = run();
    presenter->stepRan(step, before, match.save());
    return keepRunning;
}
