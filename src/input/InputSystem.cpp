#include "input/InputSystem.h"

#include <string>

#include <OIS.h>
#include <OgreLogManager.h>
#include <OgreRenderWindow.h>

#include "app/Game.h"
#include "fighter/Player.h"
#include "input/KeyLatch.h"
#include "input/PlayerInputReader.h"

namespace {

OIS::InputManager* createInputManager(Ogre::RenderWindow* window) {
    unsigned long handle = 0;
    window->getCustomAttribute("WINDOW", &handle);
    OIS::ParamList parameters;
    parameters.insert({"WINDOW", std::to_string(handle)});
    // The desktop stays usable while the game runs.
    parameters.insert({"x11_keyboard_grab", "false"});
    return OIS::InputManager::createInputSystem(parameters);
}

} // namespace

InputSystem::InputSystem(Ogre::RenderWindow* window) {
    Ogre::LogManager::getSingleton().logMessage("*** Initializing OIS ***");
    inputManager = createInputManager(window);
    // Buffered, so that the latch hears every press, also one released before the next step.
    keyboard = static_cast<OIS::Keyboard*>(inputManager->createInputObject(OIS::OISKeyboard, true));
    latch = std::make_unique<KeyLatch>(keyboard);

    Game* game = Game::getSingletonPtr();
    reader1 = std::make_unique<PlayerInputReader>(&game->player1->history, latch.get(), false);
    reader2 = std::make_unique<PlayerInputReader>(&game->player2->history, latch.get(), true);
}

InputSystem::~InputSystem() {
    Ogre::LogManager::getSingleton().logMessage("*** Shutting down OIS ***");
    inputManager->destroyInputObject(keyboard);
    OIS::InputManager::destroyInputSystem(inputManager);
}

bool InputSystem::update() {
    latch->capture();
    if (latch->isKeyDown(OIS::KC_ESCAPE))
        return false;

    // In this order, so F1 held with F2 or F3 leaves those displays on.
    Game* game = Game::getSingletonPtr();
    if (latch->isKeyDown(OIS::KC_F1))
        game->hideDebugDisplays();
    if (latch->isKeyDown(OIS::KC_F2))
        game->showInputPanels();
    if (latch->isKeyDown(OIS::KC_F3))
        game->showHitboxes();

    reader1->update();
    reader2->update();
    return true;
}
