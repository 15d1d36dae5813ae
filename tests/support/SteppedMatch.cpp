#include "support/SteppedMatch.h"

#include <OgreRenderWindow.h>

#include "roster/Roster.h"

SteppedMatch::SteppedMatch(Application& app)
    : app(app), spriteManager(std::make_unique<SpriteManager>()) {
    const Roster roster(app.getResourceDir() + "/media");
    const std::shared_ptr<const CharacterData> fighter = roster.loadFighter(Roster::defaultFighter);
    spriteManager->addFighter(*fighter, roster.fighterFolder(Roster::defaultFighter));
    game = std::make_unique<Game>(fighter, fighter);
    match = std::make_unique<Match>(*game);
    view = std::make_unique<MatchView>(app.getSceneManager(), *spriteManager, *match);
    app.getWindow()->addListener(view.get());
}

// The view before the match it shows, and the match before the sprite library.
SteppedMatch::~SteppedMatch() {
    app.getWindow()->removeListener(view.get());
    view.reset();
    match.reset();
    game.reset();
    spriteManager.reset();
}

void SteppedMatch::step() {
    StepInput input;
    input.players[0] = reader1.read();
    input.players[1] = reader2.read();
    step(input);
}

bool SteppedMatch::step(const StepInput& input) {
    const bool goOn = match->step(input);
    view->show();
    return goOn;
}
