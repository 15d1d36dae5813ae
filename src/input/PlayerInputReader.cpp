#include "input/PlayerInputReader.h"

namespace {

struct KeySet {
    OIS::KeyCode up;
    OIS::KeyCode down;
    OIS::KeyCode left;
    OIS::KeyCode right;
    OIS::KeyCode buttons[2];
};

constexpr KeySet firstPlayerKeys = {
    OIS::KC_W, OIS::KC_S, OIS::KC_A, OIS::KC_D, {OIS::KC_J, OIS::KC_K}};
constexpr KeySet secondPlayerKeys = {
    OIS::KC_UP, OIS::KC_DOWN, OIS::KC_LEFT, OIS::KC_RIGHT, {OIS::KC_NUMPAD1, OIS::KC_NUMPAD2}};

} // namespace

PlayerInputReader::PlayerInputReader(OIS::Keyboard* keyboard, bool secondPlayer)
    : secondPlayer(secondPlayer), keyboard(keyboard) {}

InputFrame PlayerInputReader::read() {
    const KeySet& keys = secondPlayer ? secondPlayerKeys : firstPlayerKeys;
    const bool up = keyboard->isKeyDown(keys.up);
    const bool down = keyboard->isKeyDown(keys.down);
    const bool left = keyboard->isKeyDown(keys.left);
    const bool right = keyboard->isKeyDown(keys.right);

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
        const bool held = keyboard->isKeyDown(keys.buttons[i]);
        frame.pressed[i] = held && !heldButtons[i];
        heldButtons[i] = held;
    }
    return frame;
}
