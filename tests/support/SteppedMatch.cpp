#include "support/SteppedMatch.h"

SteppedMatch::SteppedMatch(Application& app)
    : spriteManager(std::make_unique<SpriteManager>(app.getResourceDir() + "/sprites.cfg")),
      game(std::make_unique<Game>()) {
    game->createPlayers(app.getSceneManager());
    reader1 = std::make_unique<PlayerInputReader>(&p1().history, &keyboard, false);
    reader2 = std::make_unique<PlayerInputReader>(&p2().history, &keyboard, true);
    matchTick = std::make_unique<MatchTick>();
}

// The match before the sprite library whose materials it shows.
SteppedMatch::~SteppedMatch() {
    matchTick.reset();
    game.reset();
    spriteManager.reset();
}

void SteppedMatch::step() {
    reader1->update();
    reader2->update();
    matchTick->tick();
}
