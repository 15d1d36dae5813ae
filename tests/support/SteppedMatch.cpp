#include "support/SteppedMatch.h"

SteppedMatch::SteppedMatch(Application& app)
    : spriteManager(std::make_unique<SpriteManager>(app.getResourceDir() + "/sprites.cfg")),
      game(std::make_unique<Game>()) {
    game->createPlayers(app.getSceneManager());
    match = std::make_unique<Match>(*game);
}

// The match before the sprite library whose materials it shows.
SteppedMatch::~SteppedMatch() {
    match.reset();
    game.reset();
    spriteManager.reset();
}

void SteppedMatch::step() {
    StepInput input;
    input.players[0] = reader1.read();
    input.players[1] = reader2.read();
    match->step(input);
}

bool SteppedMatch::step(const StepInput& input) { return match->step(input); }
