#include "cpu/DelayedView.h"

#include <algorithm>

DelayedView::DelayedView(int reactionSteps)
    : reactionSteps(std::min(reactionSteps, capacity - 1)) {}

void DelayedView::observe(const MatchState& now) {
    states[static_cast<std::size_t>(observed % capacity)] = now;
    ++observed;
}

void DelayedView::played(const InputFrame& own) {
    inputs[static_cast<std::size_t>(current() % capacity)] = own;
}

int DelayedView::seenIndex() const { return std::max(0, current() - reactionSteps); }

const MatchState& DelayedView::seen() const {
    return states[static_cast<std::size_t>(seenIndex() % capacity)];
}

const InputFrame& DelayedView::ownInput(int sinceSeen) const {
    return inputs[static_cast<std::size_t>((seenIndex() + sinceSeen) % capacity)];
}
