#include "input/InputSystem.h"

#include <string>

#include <OIS.h>
#include <OgreLogManager.h>
#include <OgreRenderWindow.h>

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
    keyboard = static_cast<OIS::Keyboard*>(inputManager->createInputObject(OIS::OISKeyboard, false));

    reader1 = std::make_unique<PlayerInputReader>(keyboard, false);
    reader2 = std::make_unique<PlayerInputReader>(keyboard, true);
}

InputSystem::~InputSystem() {
    Ogre::LogManager::getSingleton().logMessage("*** Shutting down OIS ***");
    inputManager->destroyInputObject(keyboard);
    OIS::InputManager::destroyInputSystem(inputManager);
}

StepInput InputSystem::sample() {
    keyboard->capture();
    StepInput input;
    if (keyboard->isKeyDown(OIS::KC_ESCAPE)) {
        input.keys.quit = true;
        return input;
    }
    input.keys.hideDebugDisplays = keyboard->isKeyDown(OIS::KC_F1);
    input.keys.showInputPanels = keyboard->isKeyDown(OIS::KC_F2);
    input.keys.showHitboxes = keyboard->isKeyDown(OIS::KC_F3);
    input.players[0] = reader1->read();
    input.players[1] = reader2->read();
    return input;
}
