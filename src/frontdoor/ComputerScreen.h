#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontdoor/Screen.h"

class MenuLayer;
struct MenuSession;

// Versus the computer: its level (1 to 8), the side it plays and its fighter (one of the
// roster's, or drawn at random when the match starts); Fight goes on to the player's fighter.
// Owned by the menus' run.
class ComputerScreen {
public:
    // The fighters' names as players type them.
    explicit ComputerScreen(std::vector<std::string> fighters);

    std::optional<Screen> step(MenuLayer& layer, MenuSession& session);

private:
    std::vector<std::string> fighters;
};
