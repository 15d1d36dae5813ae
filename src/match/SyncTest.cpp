#include "match/SyncTest.h"

#include <stdexcept>
#include <string>

#include "match/Match.h"
#include "match/checksum.h"

SyncTest::SyncTest(Match& match, int rollbackSteps)
    : match(match), timeline(match), rollbackSteps(rollbackSteps) {}

bool SyncTest::step(const StepInput& keyboard) {
    const bool keepRunning = timeline.advance(keyboard);
    const int from = timeline.now() - rollbackSteps;
    if (from < 0)
        return keepRunning;

    const MatchState straight = match.save();
    timeline.resimulateFrom(from);
    const MatchState again = match.save();
    if (checksum(again) != checksum(straight))
        throw std::runtime_error("The match lost sync at step " +
                                 std::to_string(timeline.now()) + ": running steps " +
                                 std::to_string(from + 1) + " to " +
                                 std::to_string(timeline.now()) + " again changed " +
                                 differences(straight, again));
    return keepRunning;
}
