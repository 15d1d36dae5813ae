#pragma once

#include <optional>

#include "frontdoor/Next.h"

class MenuLayer;

// The pause menu of a match started from the menus: Resume, Rematch, Fighter select, Settings
// and Quit to title; online, played or watched, only Resume, Settings and Leave the match, which
// asks first (the match goes on while it shows). Escape resumes. Owned by the match's menus.
class PauseScreen {
public:
    enum class Choice { Resume, Settings, Moves, Leave };

    // A local match stops under the menu; an online one, played or watched, goes on.
    enum Match { Local, Playing, Watching };

    explicit PauseScreen(Match match);

    // Shown afresh, with Resume in focus.
    void open();
    // The choice made this step, and where the match's end leads with Leave.
    std::optional<Choice> step(MenuLayer& layer, Next& leaveTo);

private:
    Match match;
    bool askingToLeave = false;
};
