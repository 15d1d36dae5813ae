#pragma once

#include <memory>

#include <OgreSingleton.h>

namespace Ogre {
class SceneManager;
}
class CharacterData;
class Hud;
class Player;

// The match: the HUD, the character data both fighters share, and the two fighters. One per
// process, owned by the Application and reached through getSingletonPtr. Its three switches
// for the debug displays are settings, not toggles, so a key held for many steps acts as one
// press. A headless Game has the rules only: no HUD, no sprites, no engine needed.
class Game : public Ogre::Singleton<Game> {
public:
    // The sprite library must exist: the character data fetches its materials.
    Game();
    ~Game();

    // With both fighters created, for matches where nothing is drawn and no display exists.
    static std::unique_ptr<Game> headless();

    // "Player1" on the left with the HUD's first panels, "Player2" on the right with the
    // second; both start with the debug displays off. Without a scene manager, without sprites.
    void createPlayers(Ogre::SceneManager* sceneManager);

    void hideDebugDisplays();
    void showInputPanels();
    void showHitboxes();

    // Declared in order of creation, so they are destroyed in reverse.
    std::unique_ptr<Hud> hud;
    std::unique_ptr<CharacterData> characterData;
    std::unique_ptr<Player> player1;
    std::unique_ptr<Player> player2;

private:
    explicit Game(bool drawn);
};
