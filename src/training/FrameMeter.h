#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "fighter/PlayerState.h"

// The frame meter's logic: one cell per fighter for every step of the current exchange, and
// once it ends each fighter's startup and advantage, in the definitions of --frame-data. An
// exchange starts on the first step on which either fighter is not free and ends on the first
// step on which both can act again (that step is not part of it). A step is classified from the
// fighter at its start, except that the step of the press already counts as startup, as the
// frame data counts the press as step 1; the defender's hit step is still free, and its stun
// is the steps after it. Longer exchanges scroll: the bar keeps the newest barLength cells.
// A plain value, owned by the training driver and kept in its rewind history.
struct FrameMeter {
    static constexpr int barLength = 120;

    enum class Cell : std::uint8_t { Free, Startup, Active, Recovery, HitStun, BlockStun };

    // One fighter around one step.
    struct Sample {
        // At the start of the step.
        PlayerState before;
        // Its attack can land in this step: the hit properties are active at its start.
        bool attackLive = false;
        // After the step.
        PlayerState after;
    };

    struct Row {
        // The newest cells, oldest first once the bar has scrolled: cell i of the exchange is
        // at i % barLength.
        std::array<Cell, barLength> cells{};
        // The exchange's step of this fighter's last cell that was not free; -1 for none.
        int lastBusy = -1;
        // Where its current move started, and whether it has been active yet.
        int moveStart = 0;
        bool moveActive = false;
        // The startup of its first move in the exchange, 0 when it made none.
        int startup = 0;
        // Steps until the opponent can act minus the same for this fighter, at the end.
        int advantage = 0;
    };

    // Takes one step of both fighters.
    void step(const Sample& first, const Sample& second);
    void clear() { *this = FrameMeter{}; }

    // Cell i of the exchange, for i from firstShown() to length - 1.
    Cell cell(int fighter, int i) const {
        return rows[static_cast<std::size_t>(fighter)].cells[static_cast<std::size_t>(i % barLength)];
    }
    int firstShown() const { return length > barLength ? length - barLength : 0; }
    // The line over or under a fighter's bar: "P1", and once the exchange ended its first
    // move's startup and, after contact, its advantage ("P1  startup 17  advantage +11").
    std::string summary(int fighter) const;

    std::array<Row, 2> rows{};
    // Steps of the exchange so far.
    int length = 0;
    bool running = false;
    // The exchange ended; its figures are final.
    bool finished = false;
    // A hit landed or was blocked in it: only then is there an advantage to show.
    bool contact = false;

private:
    void begin();
    void record(Row& row, const Sample& sample);
};
