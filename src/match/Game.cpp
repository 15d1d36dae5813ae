#include "match/Game.h"

#include "anim/CharacterData.h"
#include "fighter/Player.h"
#include "render/Hud.h"
#include "render/InputDataDisplay.h"

template <> Game* Ogre::Singleton<Game>::msSingleton = nullptr;

Game::Game() : hud(std::make_unique<Hud>()), characterData(std::make_unique<CharacterData>()) {}

Game::~Game() = default;

void Game::createPlayers(Ogre::SceneManager* sceneManager) {
    player1 = std::make_unique<Player>("Player1", characterData.get(), sceneManager,
                                       hud->getInputDataDisplay(0), hud->getHealthDisplay(0));
    player2 = std::make_unique<Player>("Player2", characterData.get(), sceneManager,
                                       hud->getInputDataDisplay(1), hud->getHealthDisplay(1));
    hideDebugDisplays();
}

void Game::hideDebugDisplays() {
    hud->getInputDataDisplay(0)->setVisible(false);
    hud->getInputDataDisplay(1)->setVisible(false);
    player1->setShowHitboxes(false);
    player2->setShowHitboxes(false);
}

void Game::showInputPanels() {
    hud->getInputDataDisplay(0)->setVisible(true);
    hud->getInputDataDisplay(1)->setVisible(true);
}

void Game::showHitboxes() {
    player1->setShowHitboxes(true);
    player2->setShowHitboxes(true);
}
