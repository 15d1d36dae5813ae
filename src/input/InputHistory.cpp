#include "input/InputHistory.h"

#include "input/InputPanel.h"

InputHistory::InputHistory(int length) : frames(length) {}

void InputHistory::setListener(InputPanel* listener) {
    this->listener = listener;
}

void InputHistory::push(InputFrame frame) {
    frame.frameNumber = ++frameCounter;
    frames.push_front(frame);
    frames.pop_back();
    if (listener)
        listener->addFrame(frame);
}

InputFrame InputHistory::newest() const {
    return frames.front();
}

bool InputHistory::matches(const MoveInput* move, bool facingLeft) const {
    // Only the very step of the press completes a command; a held button never does.
    if (!frames.front().pressed[move->button])
        return false;
    const MoveInput relativeMove = move->mirrored(facingLeft);
    return matchComponents(relativeMove, 0, relativeMove.components.size(), false, frames.size());
}

bool InputHistory::matchesUnspent(const MoveInput* move, bool facingLeft) const {
    if (!frames.front().pressed[move->button])
        return false;
    const MoveInput relativeMove = move->mirrored(facingLeft);
    const std::size_t steps = relativeMove.components.size();
    // The presses in the history, oldest first: each completes the move only with steps entered
    // after the last press that did.
    std::size_t spentAt = frames.size();
    for (std::size_t position = frames.size() - 1; position > 0; --position)
        if (frames[position].pressed[move->button] &&
            matchComponents(relativeMove, position, steps, false, spentAt))
            spentAt = position;
    return matchComponents(relativeMove, 0, steps, false, spentAt);
}

bool InputHistory::findInWindow(const std::set<Direction::eDirection>& directions,
                                unsigned int& budget, std::size_t& position,
                                std::size_t end) const {
    while (insideHistory(position, end) && budget > 0) {
        const Direction::eDirection d = directionAt(position);
        if (directions.count(d) == 0) {
            ++position;
            --budget;
            continue;
        }
        // Only the run of the direction found, not of any accepted direction.
        do {
            ++position;
            --budget;
        } while (insideHistory(position, end) && directionAt(position) == d && budget > 0);
        --position;
        ++budget;
        return true;
    }
    return false;
}

bool InputHistory::matchComponents(const MoveInput& move, std::size_t position,
                                   std::size_t remaining, bool continuingRun,
                                   std::size_t end) const {
    if (remaining == 0)
        return true;
    if (!insideHistory(position, end))
        return false;
    const MoveComponent& component = move.components[remaining - 1];
    unsigned int budget = component.window;
    // A window of 0 admits no frame; returning here also keeps the run skip below from
    // wrapping the unsigned budget.
    if (budget == 0)
        return false;

    if (continuingRun) {
        const Direction::eDirection runDirection = directionAt(position);
        do {
            ++position;
            --budget;
            if (!insideHistory(position, end) || budget == 0)
                return false;
        } while (directionAt(position) == runDirection);
    }

    for (;;) {
        if (!findInWindow(component.directions, budget, position, end))
            return false;
        const Direction::eDirection runDirection = directionAt(position);
        ++position;
        --budget;
        const bool sameRun = insideHistory(position, end) && directionAt(position) == runDirection;
        if (matchComponents(move, position, remaining - 1, sameRun, end))
            return true;
        // Otherwise try an older occurrence of this step within the rest of its budget.
        if (budget == 0)
            return false;
    }
}
