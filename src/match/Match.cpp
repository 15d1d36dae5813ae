#include "match/Match.h"

#include "match/Game.h"
#include "fighter/Player.h"
#include "render/Hud.h"

Match::Match(Game& game) : game(game) {}

bool Match::step(const StepInput& input) {
    if (!input.keys.quit) {
        applyProgramKeys(input.keys);
        game.player1->history.push(input.players[0]);
        game.player2->history.push(input.players[1]);
    }
    tick.tick();
    return !input.keys.quit;
}

// In this order, so F1 held with F2 or F3 leaves those displays on.
void Match::applyProgramKeys(const ProgramKeys& keys) {
    if (keys.hideDebugDisplays)
        game.hideDebugDisplays();
    if (keys.showInputPanels)
        game.showInputPanels();
    if (keys.showHitboxes)
        game.showHitboxes();
}

MatchState Match::save() const {
    MatchState state;
    game.player1->save(state.fighters[0]);
    game.player2->save(state.fighters[1]);
    state.panels[0] = game.hud->getInputDataDisplay(0)->panel;
    state.panels[1] = game.hud->getInputDataDisplay(1)->panel;
    return state;
}

void Match::restore(const MatchState& state) {
    game.player1->restore(state.fighters[0]);
    game.player2->restore(state.fighters[1]);
    game.hud->getInputDataDisplay(0)->panel = state.panels[0];
    game.hud->getInputDataDisplay(1)->panel = state.panels[1];
}

void Match::load(const MatchState& state) {
    restore(state);
    syncDisplays();
}

void Match::holdDisplays(bool held) {
    this->held = held;
    game.player1->setDisplayHeld(held);
    game.player2->setDisplayHeld(held);
    game.hud->getInputDataDisplay(0)->setHeld(held);
    game.hud->getInputDataDisplay(1)->setHeld(held);
}

void Match::syncDisplays() {
    game.player1->syncDisplay();
    game.player2->syncDisplay();
    game.hud->getInputDataDisplay(0)->refresh();
    game.hud->getInputDataDisplay(1)->refresh();
}
