#pragma once

#include <array>

#include "match/MatchState.h"
#include "input/StepInput.h"

class Match;
class StepPresenter;

// The match with its recent past: for each of the last steps, the state before it and the input
// it consumed, so the match can go back up to maxRollback steps and run them again, on the same
// inputs or on corrected ones. Owned by whoever drives a match with rollback: the sync test and
// the network session. Steps are numbered from 0, the first step run through it.
class MatchTimeline {
public:
    static constexpr int maxRollback = 8;

    explicit MatchTimeline(Match& match) : match(match) {}

    // Runs the next step on this input; false when the input ends the program.
    bool advance(const StepInput& input);
    // The number of steps run: the number the next step gets.
    int now() const { return steps; }
    // The oldest step that can still be run again.
    int oldest() const { return steps > maxRollback ? steps - maxRollback : 0; }

    // Steps from oldest() to now() - 1 only.
    const StepInput& inputAt(int step) const { return entryOf(step).input; }
    void setInput(int step, const StepInput& input) { entryOf(step).input = input; }

    // The match before the step: steps from oldest() to now() (the match as it stands).
    MatchState stateBefore(int step) const;

    // Goes back to the state before the step and runs every step from there to now again on
    // the stored inputs. No picture is drawn meanwhile, so no panel row or sprite of a re-run
    // step is ever drawn twice.
    void resimulateFrom(int step);

    // Every step run from now on, a re-run one under its own number again, reaches the
    // presenter, which must outlive the timeline.
    void presentTo(StepPresenter* presenter) { this->presenter = presenter; }

private:
    struct Entry {
        MatchState before;
        StepInput input;
    };

    Entry& entryOf(int step) { return ring[static_cast<std::size_t>(step % maxRollback)]; }
    const Entry& entryOf(int step) const {
        return ring[static_cast<std::size_t>(step % maxRollback)];
    }

    bool run(int step, const MatchState& before, const StepInput& input);

    Match& match;
    StepPresenter* presenter = nullptr;
    std::array<Entry, maxRollback> ring{};
    int steps = 0;
};
