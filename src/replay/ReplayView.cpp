#include "replay/ReplayView.h"

#include "match/Match.h"

ReplayView::ReplayView(Match& match) : match(match) {}

void ReplayView::switchDisplays(const ProgramKeys& keys) {
    if (!keys.hideDebugDisplays && !keys.showInputPanels && !keys.showHitboxes)
        return;
    if (!recorded)
        recorded = displaysOf(match.save());
    match.applyProgramKeys(keys);
}

bool ReplayView::step(const StepInput& input) {
    if (!recorded)
        return match.step(input);
    const MatchState viewed = match.save();
    MatchState asRecorded = viewed;
    putDisplays(asRecorded, *recorded);
    match.restore(asRecorded);
    match.step(input);
    recorded = displaysOf(match.save());
    match.restore(viewed);
    return match.step(input);
}

MatchState ReplayView::recordedState() const {
    MatchState state = match.save();
    if (recorded)
        putDisplays(state, *recorded);
    return state;
}

void ReplayView::settle() {
    if (!recorded)
        return;
    match.restore(recordedState());
    recorded.reset();
}

ReplayView::Displays displaysOf(const MatchState& state) {
    ReplayView::Displays displays;
    for (std::size_t side = 0; side < 2; ++side) {
        displays.hitboxesShown[side] = state.fighters[side].hitboxesShown;
        displays.panels[side] = state.panels[side];
    }
    return displays;
}

void putDisplays(MatchState& state, const ReplayView::Displays& displays) {
    for (std::size_t side = 0; side < 2; ++side) {
        state.fighters[side].hitboxesShown = displays.hitboxesShown[side];
        state.panels[side] = displays.panels[side];
    }
}
