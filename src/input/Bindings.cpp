#include "input/Bindings.h"

#include <algorithm>
#include <string>

#include "input/KeyNames.h"

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

namespace {

template <typename T> bool holds(const std::vector<T>& list, T item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string controlOf(int player, int control) {
    return "player " + std::to_string(player + 1) + "'s " + Control::names[control];
}

std::string listed(const std::vector<OIS::KeyCode>& keys) {
    std::string text;
    for (OIS::KeyCode key : keys)
        text += (text.empty() ? "" : " ") + std::string(KeyNames::name(key));
    return text;
}

std::string listed(const std::vector<PadButton::ePadButton>& buttons) {
    std::string text;
    for (PadButton::ePadButton button : buttons)
        text += (text.empty() ? "" : " ") + std::string(PadButton::displayNames[button]);
    return text;
}

// Moves item to mine, which the holder's control (theirs, theirButtons...) lets go of. The
// holder takes mine's old items when the item was its only one; a holder left with nothing to
// hold its control refuses. `what` names the item and `holder` the holder's control.
template <typename T, typename Other>
Rebinding take(T item, std::vector<T>& mine, std::vector<T>& theirs, const std::vector<Other>& theirOthers,
               const std::string& what, const std::string& holder) {
    std::vector<T> given = mine;
    theirs.erase(std::find(theirs.begin(), theirs.end(), item));
    if (!theirs.empty())
        given.clear();
    else
        theirs = given;
    if (theirs.empty() && theirOthers.empty()) {
        theirs.push_back(item);
        return {Rebinding::Refused, what + " is the only control of " + holder};
    }
    mine = {item};
    if (given.empty())
        return {Rebinding::Swapped, what + " no longer plays " + holder};
    return {Rebinding::Swapped, what + " was " + holder + ", which now takes " + listed(given)};
}

} // namespace

Rebinding Bindings::rebindKey(int player, Control::eControl control, OIS::KeyCode key,
                              bool takeFromOtherPlayer) {
    if (const char* programKey = KeyNames::programKeyName(key))
        return {Rebinding::Refused, std::string(programKey) + " is the game's own key"};
    const char* name = KeyNames::name(key);
    if (!name)
        return {Rebinding::Refused, "That key cannot be bound"};
    std::vector<OIS::KeyCode>& mine = players[player].keys[control];
    for (int holder = 0; holder < 2; ++holder) {
        for (int other = 0; other < Control::count; ++other) {
            std::vector<OIS::KeyCode>& theirs = players[holder].keys[other];
            if ((holder == player && other == control) || !holds(theirs, key))
                continue;
            if (holder != player && !takeFromOtherPlayer)
                return {Rebinding::Refused,
                        std::string(name) + " is " + controlOf(holder, other)};
            return take(key, mine, theirs, players[holder].buttons[other], name,
                        controlOf(holder, other));
        }
    }
    mine = {key};
    return {};
}

Rebinding Bindings::rebindButton(int player, Control::eControl control,
                                 PadButton::ePadButton button) {
    const std::string name = PadButton::displayNames[button];
    if (!PadButton::bindable(button))
        return {Rebinding::Refused, name + " is the controller's own button"};
    PlayerBindings& bindings = players[player];
    for (int other = 0; other < Control::count; ++other) {
        if (other != control && holds(bindings.buttons[other], button))
            return take(button, bindings.buttons[control], bindings.buttons[other],
                        bindings.keys[other], name, controlOf(player, other));
    }
    bindings.buttons[control] = {button};
    return {};
}
