#pragma once

#include <array>
#include <bitset>
#include <memory>
#include <string>

#include "input/Bindings.h"
#include "input/HeldControls.h"
#include "input/StepInput.h"

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
// logic step through a latch that keeps the keys pressed since the step before, into that
// step's input: the program's own keys (Escape, F1 to F3, F4 to F11 for training, F12 for the
// timing overlay) and both players' frames, read by their key readers from the keys bound to
// them and what their game controllers hold. The window's focus watcher tells it when the keyboard focus leaves and
// returns. Owned by the frame updater; the match takes the input from there, so the keyboard is
// only one of the match's possible sources.
class InputSystem {
public:
    explicit InputSystem(Ogre::RenderWindow* window,
                         const Bindings& bindings = Bindings::defaults());
    // On a keyboard of the caller's, which must be buffered, without the input library.
    explicit InputSystem(OIS::Keyboard* keyboard,
                         const Bindings& bindings = Bindings::defaults());
    ~InputSystem();

    InputSystem(const InputSystem&) = delete;
    InputSystem& operator=(const InputSystem&) = delete;

    // One logic step of input, each player's controller adding what it holds to that player's
    // keys. On Escape no reader runs: the step carries no players' input.
    StepInput sample(const std::array<HeldControls, 2>& controllers = {});

    // The keyboard as the last sample saw it, for the menus: the keys down (held, or pressed
    // since the sample before), indexed by the input library's key codes, and the text typed
    // since the sample before, UTF-8.
    std::bitset<256> keysDown() const;
    const std::string& typedText() const;

    // The window lost the keyboard focus: every key counts as released.
    void keyboardFocusLost();
    // The players' keys and buttons from now on, as the settings screen changed them.
    void rebind(const Bindings& bindings);
    // The window has the focus (again, or at the start): exactly the keys held count as down.
    // held is indexed by the input library's key codes.
    void keyboardFocusGained(const std::bitset<256>& held);

private:
    void bindReaders(const Bindings& bindings);

    OIS::InputManager* inputManager = nullptr;
    OIS::Keyboard* keyboard;
    // Destroyed after the keyboard, so the keyboard never calls a latch that is gone.
    std::unique_ptr<KeyLatch> latch;
    std::unique_ptr<PlayerInputReader> reader1;
    std::unique_ptr<PlayerInputReader> reader2;
};
