#pragma once

#include <optional>
#include <string>

#include "frontdoor/Screen.h"

class KeptSettings;
class MenuLayer;

// The settings: volume, vsync, rounds, the online input delay and the replay limit, each
// stepped by left and right and kept in settings.cfg at once; and the way to each player's keys.
// What it changes takes effect from the next match. Owned by the menus' run, and by a match's
// pause menu.
class SettingsScreen {
public:
    explicit SettingsScreen(KeptSettings& kept);

    // Back leaves for `back`: the title, or the pause menu.
    std::optional<Screen> step(MenuLayer& layer, Screen back = Screen::Title);

private:
    KeptSettings& kept;
    // The last save's failure, in words.
    std::string problem;
};
