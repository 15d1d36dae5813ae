#pragma once

#include <array>
#include <optional>
#include <vector>

#include <imgui.h>

#include "frontdoor/RosterEntry.h"
#include "frontdoor/Screen.h"

class MenuLayer;
struct MenuSession;
struct StepInput;

// Fighter select, then the stage. Both players choose at once, each with their own keys or
// pad: left and right move their cursor over the fighters, punch confirms, kick takes the
// confirmation back. Against the computer only the player's side chooses (either player's
// keys move it); the computer's fighter is the one the computer screen named, or drawn at random
// here. Once every side has confirmed, the stage list follows, which either player chooses
// from; Escape goes back a step. Takes as many fighters and stages as the roster has. Owned by
// the menus' run.
class SelectScreen {
public:
    SelectScreen(std::vector<RosterEntry> fighters, std::vector<RosterEntry> stages);

    // Shown afresh: the cursors on the session's fighters, nothing confirmed.
    void enter(const MenuSession& session);
    std::optional<Screen> step(MenuLayer& layer, MenuSession& session, const StepInput& players);
    // The fighters' pictures from now on, by the fighters' order (null: none), or none.
    void showPictures(std::vector<ImTextureID> textures) { pictures = std::move(textures); }

private:
    // Which sides the players choose: both, or the one the computer leaves.
    bool chooses(const MenuSession& session, int side) const;
    void moveCursors(const MenuSession& session, const StepInput& players);
    void drawCards(const MenuSession& session) const;
    std::optional<Screen> chooseStage(MenuLayer& layer, MenuSession& session);

    std::vector<RosterEntry> fighters;
    std::vector<RosterEntry> stages;
    std::vector<ImTextureID> pictures;
    std::array<int, 2> cursor = {0, 0};
    std::array<bool, 2> ready = {false, false};
    // Each player's horizontal direction at the step before, so a held direction moves once.
    std::array<int, 2> heldAcross = {0, 0};
    bool choosingStage = false;
};
