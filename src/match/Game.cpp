#include "match/Game.h"

#include "anim/CharacterData.h"
#include "fighter/Player.h"
#include "render/Hud.h"
#include "render/InputDataDisplay.h"
#include "render/SpriteManager.h"

template <> Game* Ogre::Singleton<Game>::msSingleton = nullptr;

Game::Game() : Game(true) {}

Game::Game(bool drawn)
    : hud(drawn ? std::make_unique<Hud>() : nullptr),
      characterData(
          std::make_unique<CharacterData>(drawn ? SpriteManager::getSingletonPtr() : nullptr)) {}

std::unique_ptr<Game> Game::headless() {
    std::unique_ptr<Game> game(new Game(false));
    game->createPlayers(nullptr);
    return game;
}

Game::~Game() = default;

void Game::createPlayers(Ogre::SceneManager* sceneManager) {
    const auto panel = [this](int side) { return hud ? hud->getInputDataDisplay(side) : nullptr; };
    const auto health = [this](int side) { return hud ? hud->getHealthDisplay(side) : nullptr; };
    player1 =
        std::make_unique<Player>("Player1", characterData.get(), sceneManager, panel(0), health(0));
    player2 =
        std::make_unique<Player>("Player2", characterData.get(), sceneManager, panel(1), health(1));
    hideDebugDisplays();
}

void Game::hideDebugDisplays() {
    player1->setShowHitboxes(false);
    player2->setShowHitboxes(false);
    if (!hud)
        return;
    hud->getInputDataDisplay(0)->setVisible(false);
    hud->getInputDataDisplay(1)->setVisible(false);
}

void Game::showInputPanels() {
    if (!hud)
        return;
    hud->getInputDataDisplay(0)->setVisible(true);
    hud->getInputDataDisplay(1)->setVisible(true);
}

void Game::showHitboxes() {
    player1->setShowHitboxes(true);
    player2->setShowHitboxes(true);
}
