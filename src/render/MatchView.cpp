#include "render/MatchView.h"

#include <algorithm>

#include "anim/CharacterData.h"
#include "fighter/Player.h"
#include "match/Game.h"
#include "match/Match.h"
#include "match/Rounds.h"
#include "render/DisplayEntity.h"
#include "render/Hud.h"
#include "render/SpriteManager.h"
#include "render/comboCaption.h"
#include "render/roundCaptions.h"

namespace {

const char* const entityNames[2] = {"Player1", "Player2"};
const char* const projectileNames[2] = {"Projectile1", "Projectile2"};
// A throw's reach is drawn as tall as a standing body.
constexpr float reachHeight = 100;

// A fighter who blocks or is being hit is drawn behind the other.
bool drawnInFront(const PlayerState& state) {
    return state.action != PlayerState::Block && state.action != PlayerState::Hit;
}

} // namespace

MatchView::MatchView(Ogre::SceneManager* sceneManager, const SpriteManager& sprites,
                     const Match& match)
    : sprites(sprites), match(match), headUp(std::make_unique<Hud>()) {
    for (int side = 0; side < 2; ++side) {
        fighters[static_cast<std::size_t>(side)].entity = std::make_unique<DisplayEntity>(
            sceneManager, entityNames[side], headUp->getHealthDisplay(side));
        projectiles[static_cast<std::size_t>(side)].entity =
            std::make_unique<DisplayEntity>(sceneManager, projectileNames[side], nullptr);
    }
    show();
}

// The sprites before the HUD whose health readouts they feed.
MatchView::~MatchView() {
    for (FighterView& view : fighters)
        view.entity.reset();
    for (FighterView& view : projectiles)
        view.entity.reset();
}

// At equal x the first fighter faces right, as in the tick.
void MatchView::show() {
    const Game& game = match.fighters();
    const bool firstFacesLeft = game.player2->state.position.x < game.player1->state.position.x;
    for (int side = 0; side < 2; ++side) {
        const bool faces = side == 0 ? firstFacesLeft : !firstFacesLeft;
        showFighter(side, facingEachOther ? faces : game.fighter(side).state.facingLeft);
        showProjectile(side);
        headUp->getInputDataDisplay(side)->show(game.panels[static_cast<std::size_t>(side)].panel);
    }
    showRound();
}

void MatchView::showFighter(int side, bool facingLeft) {
    const Player& player = match.fighters().fighter(side);
    FighterView& view = fighters[static_cast<std::size_t>(side)];
    DisplayEntity& entity = *view.entity;
    const int sprite = player.animation.currentSprite();
    if (sprite != view.sprite || player.character != view.character) {
        view.sprite = sprite;
        view.character = player.character;
        entity.setSpriteMaterial(sprites.material(*player.character, sprite));
    }
    if (facingLeft != view.flipped) {
        view.flipped = facingLeft;
        entity.setFlipped(facingLeft);
    }
    entity.setSpritePosition(player.state.position.x, player.state.position.y);
    entity.setInFront(drawnInFront(player.state));
    // A round of a versus match ends at 0: a blow that took more than was left reads 0. The
    // open fight has no floor, and its readout shows what the rules hold.
    const bool versus = match.matchRules().versus;
    entity.setHealth(versus ? std::max(player.state.health, 0) : player.state.health);
    const HitboxInfo* boxes = player.hitboxesShown ? boxesOf(side) : nullptr;
    if (boxes != view.boxes) {
        view.boxes = boxes;
        entity.showHitboxInfo(boxes);
    }
}

const HitboxInfo* MatchView::boxesOf(int side) {
    const Player& player = match.fighters().fighter(side);
    const HitboxInfo* current = player.animation.currentHitboxes();
    const auto& grab = player.character->throwMove;
    const bool reaching = grab && player.state.action == PlayerState::Throw &&
                          !match.fighters().grab.holding() &&
                          player.animation.sprite.position().currentFrame < grab->grab;
    if (!reaching)
        return current;
    const auto index = static_cast<std::size_t>(side);
    if (reachFrom[index] != current) {
        reachFrom[index] = current;
        reach[index] = *current;
        reach[index].addBox(AABB(0, grab->reach, reachHeight, 0), true);
    }
    return &reach[index];
}

void MatchView::showProjectile(int side) {
    const Game& game = match.fighters();
    const ProjectileState& flying = game.projectiles[static_cast<std::size_t>(side)];
    FighterView& view = projectiles[static_cast<std::size_t>(side)];
    DisplayEntity& entity = *view.entity;
    if (flying.active != view.visible) {
        view.visible = flying.active;
        entity.setVisible(flying.active);
    }
    if (!flying.active)
        return;
    const Player& owner = game.fighter(side);
    const ProjectileData& data = *owner.character->projectile;
    if (owner.character != view.character) {
        view.character = owner.character;
        entity.setSpriteMaterial(sprites.material(*owner.character, data.sprite));
    }
    if (flying.facingLeft != view.flipped) {
        view.flipped = flying.facingLeft;
        entity.setFlipped(flying.facingLeft);
    }
    entity.setSpritePosition(flying.x, flying.y);
    const HitboxInfo* boxes = owner.hitboxesShown ? data.boxes : nullptr;
    if (boxes != view.boxes) {
        view.boxes = boxes;
        entity.showHitboxInfo(boxes);
    }
}

void MatchView::showRound() {
    const MatchRules& rules = match.matchRules();
    const RoundState& round = match.roundState();
    const Game& game = match.fighters();
    // The combo a fighter takes is the other player's.
    const ComboState& dealt1 = game.player2->state.combo;
    const ComboState& dealt2 = game.player1->state.combo;
    const bool fightShown = round.shownSteps >= Rounds::fightShownAt;
    const std::array<int, 13> shown = {
        rules.versus, clockSeconds(round), round.wins[0], round.wins[1], round.phase,
        round.ending, round.winner,        dealt1.hits,   dealt1.damage, dealt2.hits,
        dealt2.damage, round.round,        fightShown};
    if (shown == shownRound)
        return;
    shownRound = shown;
    RoundDisplay::Captions captions = roundCaptions(rules, round);
    captions.combos[0] = comboCaption(dealt1);
    captions.combos[1] = comboCaption(dealt2);
    headUp->getRoundDisplay()->show(captions);
}
