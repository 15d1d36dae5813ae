#include "input/Bindings.h"

Bindings Bindings::defaults() {
    using namespace PadButton;
    const std::vector<ePadButton> pad[Control::count] = {{DpadUp},    {DpadDown}, {DpadLeft},
                                                         {DpadRight}, {A},        {B}};
    const OIS::KeyCode keys[2][Control::count] = {
        {OIS::KC_W, OIS::KC_S, OIS::KC_A, OIS::KC_D, OIS::KC_J, OIS::KC_K},
        {OIS::KC_UP, OIS::KC_DOWN, OIS::KC_LEFT, OIS::KC_RIGHT, OIS::KC_NUMPAD1, OIS::KC_NUMPAD2}};
    Bindings bindings;
    for (int player = 0; player < 2; ++player) {
        for (int control = 0; control < Control::count; ++control) {
            bindings.players[player].keys[control] = {keys[player][control]};
            bindings.players[player].buttons[control] = pad[control];
        }
    }
    return bindings;
}
