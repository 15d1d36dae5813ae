#pragma once

#include <cstddef>
#include <cstdint>

#include "match/MatchDriver.h"
#include "replay/Replay.h"
#include "replay/ReplayView.h"

class Match;

// Plays a recorded match back: every logic step takes the next recorded step instead of the
// keyboard, and every 60 steps, and after the last, the match must show the recorded checksum,
// or the program ends with a report naming the step. The recorded quit, the end of the
// recording or Escape on the keyboard ends the playback; the keyboard's F1 to F3 show and hide
// the displays for the viewer, outside the match the checksums cover. A replay that starts from
// a saved match starts there, its steps numbered as the match numbered them. Owned by the
// Application; the match is not owned.
class ReplayPlayback : public MatchDriver {
public:
    // Throws ReplayError when the replay starts from a match that does not fit the fighters.
    // Whoever loaded the fighters has checked them against the replay (requireLineup,
    // requireCharacterData).
    ReplayPlayback(Match& match, Replay replay);

    bool step(const StepInput& keyboard) override;
    // The match is left as recorded, whatever the viewer showed.
    void finish() override { view.settle(); }

    std::size_t stepsPlayed() const { return next; }

private:
    void expect(std::uint64_t recorded) const;

    Match& match;
    Replay replay;
    ReplayView view;
    std::size_t next = 0;
};
