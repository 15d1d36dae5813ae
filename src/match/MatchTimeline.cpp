#include "match/MatchTimeline.h"

#include <stdexcept>
#include <string>

#include "match/Match.h"
#include "match/StepPresenter.h"

bool MatchTimeline::advance(const StepInput& input) {
    Entry& entry = entryOf(steps);
    entry.before = match.save();
    entry.input = input;
    return run(steps++, entry.before, input);
}

bool MatchTimeline::run(int step, const MatchState& before, const StepInput& input) {
    const bool keepRunning = match.step(input);
    if (presenter)
        presenter->stepRan(step, before, match.save());
    return keepRunning;
}

MatchState MatchTimeline::stateBefore(int step) const {
    if (step < oldest() || step > steps)
        throw std::out_of_range("Step " + std::to_string(step) + " is out of the match's reach");
    return step == steps ? match.save() : entryOf(step).before;
}

void MatchTimeline::resimulateFrom(int step) {
    if (step < oldest() || step >= steps)
        throw std::out_of_range("Step " + std::to_string(step) +
                                " is out of the match's reach for a re-run");
    match.restore(entryOf(step).before);
    for (int again = step; again < steps; ++again) {
        Entry& entry = entryOf(again);
        if (again != step)
            entry.before = match.save();
        run(again, entry.before, entry.input);
    }
}
