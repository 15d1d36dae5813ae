#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontdoor/Screen.h"

class MenuLayer;
struct MenuSession;

// The title: Versus, Versus the computer, Training, Online, Replays, Settings, Moves, Quit. Escape,
// like Quit, asks before the program ends. Owned by the menus' run.
class TitleScreen {
public:
    // One step's page; the screen asked for, if any.
    std::optional<Screen> step(MenuLayer& layer, MenuSession& session);

    // What is wrong with the player's files (the settings, the keys), said under the rows.
    std::vector<std::string> problems;

private:
    bool askingToQuit = false;
};
