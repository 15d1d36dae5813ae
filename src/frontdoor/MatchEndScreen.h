#pragma once

#include <optional>
#include <string>

#include "frontdoor/Next.h"

class MenuLayer;

// A versus match's end, over its result: Rematch, Fighter select or Title, chosen by either
// player, shown once the menu listens. Owned by the match's menus.
class MatchEndScreen {
public:
    // The result's words as the heading ("PLAYER 1 WINS"); the rows only once the menu
    // listens.
    std::optional<Next> step(MenuLayer& layer, const std::string& result, bool listening);
};
