#include "replay/ReplayPlayback.h"

#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "match/Match.h"
#include "match/checksum.h"
#include "replay/loadReplayStart.h"

ReplayPlayback::ReplayPlayback(Match& match, Replay replay)
    : match(match), replay(std::move(replay)), view(match) {
    loadReplayStart(match, this->replay);
}

bool ReplayPlayback::step(const StepInput& keyboard) {
    if (keyboard.keys.quit || next == replay.steps.size())
        return false;
    view.switchDisplays(keyboard.keys);
    const bool keepRunning = presentedStep(match, replay.firstStep + static_cast<int>(next),
                                           [&] { return view.step(replay.step(next)); });
    ++next;
    if (next % ReplayFormat::checkpointInterval == 0)
        expect(replay.checkpoints[next / ReplayFormat::checkpointInterval - 1]);
    if (next == replay.steps.size())
        expect(replay.finalChecksum);
    return keepRunning && next < replay.steps.size();
}

void ReplayPlayback::expect(std::uint64_t recorded) const {
    const std::uint64_t actual = checksum(view.recordedState());
    if (actual == recorded)
        return;
    std::ostringstream report;
    report << std::hex << std::setfill('0') << "The replay '" << replay.source
           << "' went out of sync at step " << std::dec << next << std::hex
           << ": the match's checksum is " << std::setw(16) << actual << ", the recording's "
           << std::setw(16) << recorded;
    throw std::runtime_error(report.str());
}
