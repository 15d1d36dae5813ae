#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frontdoor/Screen.h"

class CharacterData;
class MenuLayer;
struct Bindings;

// The move list: for each fighter, from its own file, its punch and its special move, the
// motion drawn as arrows (for a fighter facing right) and its button, with each player's keys
// for them; then the lab's keys. Left and right turn the pages, Escape goes back. Owned by the
// menus' screens and by a match's pause menu.
class MovesScreen {
public:
    // The fighters of the media folder, read once; one that cannot be read is left out.
    explicit MovesScreen(const std::string& media);
    ~MovesScreen();

    // Back leaves for `back`: the title, or the pause menu.
    std::optional<Screen> step(MenuLayer& layer, const Bindings& keys, Screen back);

private:
    std::vector<std::shared_ptr<const CharacterData>> fighters;
    // The page shown: one per fighter, then the lab's.
    int pageShown = 0;
};
