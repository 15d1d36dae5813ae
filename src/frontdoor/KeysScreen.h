#pragma once

#include <bitset>
#include <optional>
#include <string>

#include "frontdoor/Screen.h"
#include "input/Control.h"
#include "input/Rebinding.h"
#include "menu/MenuInput.h"

class KeptSettings;
class MenuLayer;

// One player's keys: a row per control with the keys and buttons that hold it. Choosing a row
// waits for the next key pressed, or button of the player's controller, which then holds the
// control alone (the other kind stays); a key another control holds is swapped with it, one of
// the other player's or the program's is refused, each with a word (Bindings::rebindKey and
// rebindButton), and Escape keeps them as they were. Every change is written to
// the bindings file at once. Owned by the menus' run, and by a match's pause menu.
class KeysScreen {
public:
    KeysScreen(KeptSettings& kept, int player);

    std::optional<Screen> step(MenuLayer& layer, const MenuInput& input);

    // A control's keys and buttons as the row shows them: "J, pad:a".
    std::string boundTo(Control::eControl control) const;

private:
    void listen(MenuLayer& layer, const MenuInput& input);
    void take(const Rebinding& outcome);

    KeptSettings& kept;
    int player;
    // The control waiting for its new key, while one is.
    std::optional<Control::eControl> waiting;
    // The keys down at the step before, so only a key pressed anew is taken.
    std::bitset<256> keysBefore;
    std::string word;
};
