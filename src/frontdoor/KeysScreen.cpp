#include "frontdoor/KeysScreen.h"

#include <OISKeyboard.h>

#include "frontdoor/KeptSettings.h"
#include "input/KeyNames.h"
#include "menu/MenuPage.h"

namespace {

const char* const shownNames[Control::count] = {"Up", "Down", "Left", "Right", "Punch", "Kick"};

} // namespace

KeysScreen::KeysScreen(KeptSettings& kept, int player) : kept(kept), player(player) {}

std::string KeysScreen::boundTo(Control::eControl control) const {
    const PlayerBindings& bindings = kept.bindings.players[player];
    std::string text;
    const auto add = [&text](const std::string& name) {
        text += (text.empty() ? "" : ", ") + name;
    };
    for (OIS::KeyCode key : bindings.keys[control])
        if (const char* name = KeyNames::name(key))
            add(name);
    for (PadButton::ePadButton button : bindings.buttons[control])
        add(std::string("pad:") + PadButton::names[button]);
    return text;
}

std::optional<Screen> KeysScreen::step(MenuLayer& layer, const MenuInput& input) {
    const std::string heading = "PLAYER " + std::to_string(player + 1) + " KEYS";
    if (waiting) {
        listen(layer, input);
        keysBefore = input.keys;
        return std::nullopt;
    }
    MenuPage page(layer, player == 0 ? "keys1" : "keys2", heading);
    for (int control = 0; control < Control::count; ++control)
        if (page.item(std::string(shownNames[control]) + ": " +
                      boundTo(static_cast<Control::eControl>(control)))) {
            waiting = static_cast<Control::eControl>(control);
            word.clear();
        }
    if (!word.empty())
        page.note(word);
    keysBefore = input.keys;
    if (page.back())
        return Screen::Settings;
    return std::nullopt;
}

// The first key pressed anew: Escape keeps the keys, any other is offered to the bindings.
void KeysScreen::listen(MenuLayer& layer, const MenuInput& input) {
    MenuPage page(layer, "press", "PRESS A KEY");
    page.note(std::string(shownNames[*waiting]) + " for player " + std::to_string(player + 1) +
              ": a key or a button");
    page.note("Escape keeps it");
    const std::bitset<PadButton::count>& buttons = input.padButtons[player];
    if (buttons.any()) {
        int button = 0;
        while (!buttons.test(static_cast<std::size_t>(button)))
            ++button;
        take(kept.bindings.rebindButton(player, *waiting,
                                        static_cast<PadButton::ePadButton>(button)));
        return;
    }
    const std::bitset<256> pressed = input.keys & ~keysBefore;
    if (pressed.none())
        return;
    if (pressed.test(OIS::KC_ESCAPE)) {
        waiting.reset();
        return;
    }
    int key = 0;
    while (!pressed.test(static_cast<std::size_t>(key)))
        ++key;
    take(kept.bindings.rebindKey(player, *waiting, static_cast<OIS::KeyCode>(key)));
}

// The new key or button's outcome: told, and kept when bound.
void KeysScreen::take(const Rebinding& outcome) {
    word = outcome.word;
    waiting.reset();
    if (outcome.outcome != Rebinding::Refused) {
        if (kept.bindingsChanged)
            kept.bindingsChanged(kept.bindings);
        const std::string problem = kept.saveBindings();
        if (!problem.empty())
            word = problem;
    }
}
