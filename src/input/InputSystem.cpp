#include "input/InputSystem.h"

#include <string>

#include <OIS.h>
#include <OgreLogManager.h>
#include <OgreRenderWindow.h>

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

InputSystem::InputSystem(Ogre::RenderWindow* window, const Bindings& bindings) {
    Ogre::LogManager::getSingleton().logMessage("*** Initializing OIS ***");
    inputManager = createInputManager(window);
    // Buffered, so that the latch hears every press, also one released before the next step.
    keyboard = static_cast<OIS::Keyboard*>(inputManager->createInputObject(OIS::OISKeyboard, true));
    // The library asks the display for the window's keys on its own connection, but sends the
    // request only when it first reads it: capture now, so keys pressed the moment the window
    // shows are heard. Nothing is pressed on the window yet, so nothing is lost.
    keyboard->capture();
    bindReaders(bindings);
}

InputSystem::InputSystem(OIS::Keyboard* keyboard, const Bindings& bindings) : keyboard(keyboard) {
    bindReaders(bindings);
}

void InputSystem::bindReaders(const Bindings& bindings) {
    latch = std::make_unique<KeyLatch>(keyboard);
    rebind(bindings);
}

InputSystem::~InputSystem() {
    if (!inputManager)
        return;
    Ogre::LogManager::getSingleton().logMessage("*** Shutting down OIS ***");
    inputManager->destroyInputObject(keyboard);
    OIS::InputManager::destroyInputSystem(inputManager);
}

std::bitset<256> InputSystem::keysDown() const {
    std::bitset<256> down;
    for (std::size_t key = 0; key < down.size(); ++key)
        down[key] = latch->isKeyDown(static_cast<OIS::KeyCode>(key));
    return down;
}

const std::string& InputSystem::typedText() const { return latch->typed(); }

void InputSystem::rebind(const Bindings& bindings) {
    reader1 = std::make_unique<PlayerInputReader>(latch.get(), bindings.players[0]);
    reader2 = std::make_unique<PlayerInputReader>(latch.get(), bindings.players[1]);
}

void InputSystem::keyboardFocusLost() { latch->releaseAll(); }

void InputSystem::keyboardFocusGained(const std::bitset<256>& held) { latch->holdOnly(held); }

StepInput InputSystem::sample(const std::array<HeldControls, 2>& controllers) {
    latch->capture();
    StepInput input;
    if (latch->isKeyDown(OIS::KC_ESCAPE)) {
        input.keys.quit = true;
        return input;
    }
    input.keys.hideDebugDisplays = latch->isKeyDown(OIS::KC_F1);
    input.keys.showInputPanels = latch->isKeyDown(OIS::KC_F2);
    input.keys.showHitboxes = latch->isKeyDown(OIS::KC_F3);
    input.keys.frameMeter = latch->isKeyDown(OIS::KC_F4);
    input.keys.pause = latch->isKeyDown(OIS::KC_F5);
    input.keys.stepForward = latch->isKeyDown(OIS::KC_F6);
    input.keys.stepBack = latch->isKeyDown(OIS::KC_F7);
    input.keys.reset = latch->isKeyDown(OIS::KC_F8);
    input.keys.recordDummy = latch->isKeyDown(OIS::KC_F9);
    input.keys.playDummy = latch->isKeyDown(OIS::KC_F10);
    input.keys.takeOver = latch->isKeyDown(OIS::KC_F11);
    input.keys.timingOverlay = latch->isKeyDown(OIS::KC_F12);
    input.players[0] = reader1->read(controllers[0]);
    input.players[1] = reader2->read(controllers[1]);
    return input;
}
