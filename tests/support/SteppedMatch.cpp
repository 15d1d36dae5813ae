#include "support/SteppedMatch.h"

#include <OgreRenderWindow.h>

#include "anim/CharacterData.h"
#include "roster/Roster.h"

namespace {

Lineup defaults() {
    Lineup lineup;
    lineup.fighters[0].name = lineup.fighters[1].name = Roster::defaultFighter;
    lineup.stage.name = Roster::defaultStage;
    return lineup;
}

} // namespace

SteppedMatch::SteppedMatch(Application& app) : SteppedMatch(app, defaults()) {}

SteppedMatch::SteppedMatch(Application& app, const Lineup& lineup)
    : app(app), spriteManager(std::make_unique<SpriteManager>()) {
    const Roster roster(app.getResourceDir() + "/media");
    std::array<std::shared_ptr<const CharacterData>, 2> fighters;
    for (std::size_t side = 0; side < 2; ++side) {
        const std::string& name = lineup.fighters[side].name;
        fighters[side] =
            side == 1 && name == lineup.fighters[0].name ? fighters[0] : roster.loadFighter(name);
        spriteManager->addFighter(*fighters[side], roster.fighterFolder(name));
    }
    const StageData stageData = roster.loadStage(lineup.stage.name);
    stage = {stageData.name, stageData.fingerprint};
    game = std::make_unique<Game>(fighters[0], fighters[1]);
    game->walls = stageData.width / 2;
    match = std::make_unique<Match>(*game);
    view = std::make_unique<MatchView>(app.getSceneManager(), *spriteManager, *match);
    app.getWindow()->addListener(view.get());
}

Lineup SteppedMatch::lineup() const {
    Lineup named;
    for (std::size_t side = 0; side < 2; ++side)
        named.fighters[side] = {game->characters[side]->name, game->characters[side]->fingerprint};
    named.stage = stage;
    return named;
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
