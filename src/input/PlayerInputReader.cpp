#include "input/PlayerInputReader.h"

PlayerInputReader::PlayerInputReader(OIS::Keyboard* keyboard, bool secondPlayer)
    : PlayerInputReader(keyboard, Bindings::defaults().players[secondPlayer ? 1 : 0]) {}

PlayerInputReader::PlayerInputReader(OIS::Keyboard* keyboard, const PlayerBindings& bindings)
    : keyboard(keyboard), bindings(bindings) {}

bool PlayerInputReader::held(Control::eControl control, const HeldControls& controller) const {
    if (controller.held[control])
        return true;
    for (OIS::KeyCode key : bindings.keys[control]) {
        if (keyboard->isKeyDown(key))
            return true;
    }
    return false;
}

InputFrame PlayerInputReader::read(const HeldControls& controller) {
    const bool up = held(Control::Up, controller);
    const bool down = held(Control::Down, controller);
    const bool left = held(Control::Left, controller);
    const bool right = held(Control::Right, controller);

    // Up wins over down; the tie between left and right goes by leftWinsTie.
    const int v = up ? 1 : (down ? -1 : 0);
    int h = 0;
    if (left && right)
        h = leftWinsTie ? -1 : 1;
    else if (right)
        h = 1;
    else if (left)
        h = -1;

    InputFrame frame;
    frame.direction = encodeDirection(h, v);
    for (int i = 0; i < 2; ++i) {
        const bool isHeld = held(i == 0 ? Control::Punch : Control::Kick, controller);
        frame.pressed[i] = isHeld && !heldButtons[i];
        heldButtons[i] = isHeld;
    }
    return frame;
}
