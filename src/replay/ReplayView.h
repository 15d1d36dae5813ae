#pragma once

#include <array>
#include <optional>

#include "input/ProgramKeys.h"
#include "input/StepInput.h"
#include "match/MatchState.h"

class Match;

// The viewer's F1 to F3 over a replay: they show and hide the boxes and the input panels without
// touching the match as recorded. What is shown is match state (the panels even collect their
// rows only while shown), and the replay's checksums cover it; so once the viewer has switched
// a display, every step runs twice from the same state: first as recorded, which is what the
// checksums are compared with, then with the viewer's displays for the screen. The rules never read
// the displays, so both runs agree in everything else, and the replay's own F1 to F3 apply in both.
// Owned by a driver that plays a replay; the match is not owned.
class ReplayView {
public:
    // The part of the match state that only says what is shown.
    struct Displays {
        std::array<bool, 2> hitboxesShown{};
        std::array<InputPanelState, 2> panels{};
    };

    explicit ReplayView(Match& match);

    // F1 to F3 from the viewer's keyboard switch the displays at once; other keys do nothing.
    void switchDisplays(const ProgramKeys& keys);
    // One recorded step; false when the recording ends the program.
    bool step(const StepInput& input);
    // The match as recorded, displays included: what the replay's checksums cover.
    MatchState recordedState() const;
    // Leaves the match as recorded, the screen as it is: at the end, so that the match logged
    // compares with the recording's.
    void settle();

    // The recording's displays while the viewer's differ from them (none before the viewer's
    // first switch), so a driver that goes back in the replay can keep them with the match.
    const std::optional<Displays>& recordedDisplays() const { return recorded; }
    void setRecordedDisplays(const std::optional<Displays>& displays) { recorded = displays; }

private:
    Match& match;
    std::optional<Displays> recorded;
};

// The displays of a state, and a state with other displays.
ReplayView::Displays displaysOf(const MatchState& state);
void putDisplays(MatchState& state, const ReplayView::Displays& displays);
