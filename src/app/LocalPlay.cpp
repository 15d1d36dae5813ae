#include "app/LocalPlay.h"

#include "match/Match.h"
#include "replay/ReplayRecorder.h"

LocalPlay::LocalPlay(Match& match, std::unique_ptr<ReplayRecorder> recorder)
    : match(match), recorder(std::move(recorder)) {}

LocalPlay::~LocalPlay() = default;

bool LocalPlay::step(const StepInput& keyboard) {
    const bool keepRunning = presentedStep(match, keyboard, steps++);
    if (!recorder)
        return keepRunning;
    recorder->record(keyboard, match.save());
    if (!keepRunning)
        recorder->finish();
    return keepRunning;
}
