#include "match/Game.h"

#include "anim/CharacterData.h"
#include "fighter/Player.h"

Game::Game(std::shared_ptr<const CharacterData> first, std::shared_ptr<const CharacterData> second)
    : characters{std::move(first), std::move(second)},
      player1(std::make_unique<Player>(*characters[0], false, &panels[0])),
      player2(std::make_unique<Player>(*characters[1], true, &panels[1])) {}

Game::~Game() = default;

void Game::cast(int side, std::shared_ptr<const CharacterData> data) {
    const auto index = static_cast<std::size_t>(side);
    characters[index] = std::move(data);
    (side == 0 ? player1 : player2) =
        std::make_unique<Player>(*characters[index], side == 1, &panels[index]);
}

void Game::hideDebugDisplays() {
    player1->hitboxesShown = false;
    player2->hitboxesShown = false;
    panels[0].setVisible(false);
    panels[1].setVisible(false);
}

void Game::showInputPanels() {
    panels[0].setVisible(true);
    panels[1].setVisible(true);
}

void Game::showHitboxes() {
    player1->hitboxesShown = true;
    player2->hitboxesShown = true;
}
