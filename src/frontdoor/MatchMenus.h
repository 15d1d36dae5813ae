#pragma once

#include <array>
#include <bitset>
#include <memory>

#include "frontdoor/KeysScreen.h"
#include "frontdoor/MatchEndScreen.h"
#include "frontdoor/MovesScreen.h"
#include "frontdoor/Next.h"
#include "frontdoor/PauseScreen.h"
#include "frontdoor/SettingsScreen.h"
#include "input/HeldControls.h"
#include "match/MatchDriver.h"
#include "menu/MenuLayer.h"

class KeptSettings;
class Match;
class MatchScene;
class MatchView;
class Session;

// The menus over a match started from the front door, wrapped around the driver the match's
// options made. Escape opens the pause menu in place of ending the program: a local match (the
// lab too) stands still while it shows (its driver takes no step, so a recording has no gap),
// an online one plays on with neither player's keys (the other side's still come), as a watched
// one does, and leaving either asks first. A local versus match's end shows Rematch, Fighter
// select and Title, deaf for a moment so that a punch still mashed does not choose, then chosen
// by either player's keys. Under a menu the match's own captions give way to it. A replay
// keeps Escape's own meaning: it ends, back to the replays. Made by the
// FrontDoor for a match's scene, which owns it; owns the driver it wraps.
class MatchMenus : public MatchDriver {
public:
    enum class Kind { Local, Online, Watch, Replay };

    // outcome says where the front door goes once the match ends; it stays as it is when the
    // window is closed.
    MatchMenus(std::unique_ptr<MatchDriver> inner, Session& session, MatchScene& scene,
               KeptSettings& kept, Kind kind, Next& outcome);
    ~MatchMenus() override;

    bool step(const StepInput& keyboard) override;
    void finish() override { inner->finish(); }
    bool pictureChanged() const override {
        return showing != Showing::Nothing || inner->pictureChanged();
    }
    void presentTo(StepPresenter& presenter) override { inner->presentTo(presenter); }

private:
    enum class Showing { Nothing, Pause, Settings, Keys1, Keys2, Moves, End };

    // The menu in place for this step; false when the match is to end.
    bool stepMenus(bool opening, const MenuInput& input);
    bool decided() const;
    // The menus' input this step: none while the end's menu is still deaf; either player's
    // punch confirming there.
    MenuInput menuInput(const StepInput& keyboard);
    void showMenu(Showing menu);

    std::unique_ptr<MatchDriver> inner;
    Session& session;
    Match& match;
    MatchView& view;
    Kind kind;
    KeptSettings& kept;
    MenuLayer layer;
    PauseScreen pause;
    SettingsScreen settings;
    KeysScreen keys1;
    KeysScreen keys2;
    MovesScreen moves;
    MatchEndScreen end;
    Showing showing = Showing::Nothing;
    bool shownBefore = false;
    // Steps the end's menu still takes no input for, and what was held meanwhile.
    int deafSteps = 0;
    std::bitset<256> staleKeys;
    std::array<HeldControls, 2> stalePads{};
    Next& leaveTo;
};
