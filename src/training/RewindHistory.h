#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "match/MatchState.h"
#include "replay/ReplayView.h"
#include "training/FrameMeter.h"

// What the training driver had before each of its last steps, so it can go back one step at a
// time, as far as capacity steps (10 s). Going back takes the newest entry off; a step played
// after that pushes a new one, so what came after a rewound step is gone. The oldest entry
// gives way to a new one when full. The memory is taken once, up front. Owned by the training
// driver.
class RewindHistory {
public:
    static constexpr int capacity = 600;

    struct Entry {
        MatchState match;
        FrameMeter meter;
        // The driver's step count before the step: the replay's position.
        int step = 0;
        // Over a replay, the recording's displays while the viewer's differ.
        std::optional<ReplayView::Displays> recordedDisplays;
        // The dummy's steps recorded so far (0 when not recording) and where its playback stood.
        int dummyRecorded = 0;
        int dummyStep = 0;
    };

    RewindHistory() : ring(capacity) {}

    void push(const Entry& entry);
    // The entry of the newest step, taken off; the history must not be empty.
    const Entry& pop();
    void clear() { count = 0; }

    bool empty() const { return count == 0; }
    int size() const { return count; }
    std::size_t bytes() const { return ring.size() * sizeof(Entry); }

private:
    std::vector<Entry> ring;
    // Where the next entry goes, and how many are kept.
    int next = 0;
    int count = 0;
};
