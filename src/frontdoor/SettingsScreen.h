#pragma once

#include <optional>
#include <string>

#include "frontdoor/Screen.h"

class KeptSettings;
class MenuLayer;

// The settings: volume, vsync, rounds, the online input delay and the replay limit, each
// stepped by left and right and kept in settings.cfg at once; and the way to each player's keys.
// A replay limit below the recordings kept asks first, naming how many would go. What it
// changes takes effect from the next match. Owned by the menus' screens, and by a match's
// pause menu.
class SettingsScreen {
public:
    // The replays folder's recordings are the ones a smaller limit would delete.
    explicit SettingsScreen(KeptSettings& kept, std::string replaysFolder = defaultReplays());

    // Back leaves for `back`: the title, or the pause menu.
    std::optional<Screen> step(MenuLayer& layer, Screen back = Screen::Title);

private:
    static std::string defaultReplays();
    // The question of a smaller limit; the screen in its place.
    std::optional<Screen> askLimit(MenuLayer& layer);

    KeptSettings& kept;
    std::string replaysFolder;
    // A smaller replay limit that would delete recordings, and how many, until answered.
    int askedLimit = 0;
    int wouldDelete = 0;
    int refocusSteps = 0;
    // The last save's failure, in words.
    std::string problem;
};
