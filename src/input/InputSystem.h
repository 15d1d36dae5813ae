#pragma once

#include <memory>

namespace Ogre {
class RenderWindow;
}
namespace OIS {
class InputManager;
class Keyboard;
} // namespace OIS
class KeyLatch;
class PlayerInputReader;

// The program's one contact with the input library: the shared keyboard, captured once per
// logic step through a latch that keeps the keys pressed since the previous step, the
// program's own keys (Escape ends the game, F1 to F3 switch the debug displays) and the two
// players' key readers. Owned by the FixedFrameUpdater; needs the Game and both of its
// fighters to exist.
class InputSystem {
public:
    explicit InputSystem(Ogre::RenderWindow* window);
    ~InputSystem();

    InputSystem(const InputSystem&) = delete;
    InputSystem& operator=(const InputSystem&) = delete;

    // One logic step of input; false when the program is to end.
    bool update();

private:
    OIS::InputManager* inputManager;
    OIS::Keyboard* keyboard;
    // Destroyed after the keyboard, so the keyboard never calls a latch that is gone.
    std::unique_ptr<KeyLatch> latch;
    std::unique_ptr<PlayerInputReader> reader1;
    std::unique_ptr<PlayerInputReader> reader2;
};
