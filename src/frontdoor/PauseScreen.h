#pragma once

#include <optional>

#include "frontdoor/Next.h"

class MenuLayer;

// The pause menu of a match started from the menus: Resume, Rematch, Fighter select, Settings
// and Quit to title; online only Resume, Settings and Leave the match, which asks first (the
// other player plays on while it shows). Escape resumes. Owned by the match's menus.
class PauseScreen {
public:
    enum class Choice { Resume, Settings, Leave };

    explicit PauseScreen(bool online);

    // Shown afresh, with Resume in focus.
    void open();
    // The choice made this step, and where the match's end leads with Leave.
    std::optional<Choice> step(MenuLayer& layer, Next& leaveTo);

private:
    bool online;
    bool askingToLeave = false;
};
