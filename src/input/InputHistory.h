#pragma once

#include <cstddef>
#include <deque>
#include <set>

#include "input/InputFrame.h"
#include "input/MoveInput.h"

class InputPanel;

// A fighter's most recent input frames, newest first, of a length fixed at construction, and
// the recognition of motion commands in them. A member of the fighter; its player's reader
// pushes one frame per logic step and the player's input panel (not owned) is told of each one.
class InputHistory {
public:
    using const_iterator = std::deque<InputFrame>::const_iterator;

    // Starts full of neutral frames without presses, numbered 0.
    explicit InputHistory(int length);

    void setListener(InputPanel* listener);
    // Numbers the frame, makes it the newest, drops the oldest, then tells the listener.
    void push(InputFrame frame);
    InputFrame newest() const;

    // Newest to oldest.
    const_iterator begin() const { return frames.begin(); }
    const_iterator end() const { return frames.end(); }

    // True when the move's button is newly pressed in the newest frame and its steps are found
    // in the frames before, within their windows; the move's directions are mirrored for a
    // fighter facing left. Changes neither the history nor the move.
    bool matches(const MoveInput* move, bool facingLeft) const;
    // As matches, but a press of the button that completed the move's steps spent them, whether
    // or not its move could start: a later press needs steps entered after that one, so a motion
    // kept in the history does not start the move again on a press that merely follows.
    bool matchesUnspent(const MoveInput* move, bool facingLeft) const;

    std::deque<InputFrame> frames;
    int frameCounter = 0;
    InputPanel* listener = nullptr;

private:
    // Positions count from the newest frame (0); a search ends before end. The budget is the
    // number of frames a search may still examine.
    bool insideHistory(std::size_t position, std::size_t end) const { return position < end; }
    Direction::eDirection directionAt(std::size_t position) const {
        return frames[position].direction;
    }

    // Looks for a frame with one of the directions within the budget. On success the position is
    // left on the oldest frame of the found direction's run that fits into the budget, and that
    // frame is not yet paid for.
    bool findInWindow(const std::set<Direction::eDirection>& directions, unsigned int& budget,
                      std::size_t& position, std::size_t end) const;
    // Matches the first `remaining` components of the move, the newest of them first, in the
    // frames from the position on, up to end (excluded). continuingRun: the frame at the
    // position continues a run that the newer component's budget cut short; the rest of that run
    // is skipped on this component's budget.
    bool matchComponents(const MoveInput& move, std::size_t position, std::size_t remaining,
                         bool continuingRun, std::size_t end) const;
};
