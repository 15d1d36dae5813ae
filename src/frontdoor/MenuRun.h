#pragma once

#include <bitset>
#include <memory>
#include <optional>
#include <string>

#include "frontdoor/Next.h"
#include "frontdoor/Screen.h"
#include "match/MatchDriver.h"
#include "menu/MenuLayer.h"

class MatchScene;
class Portraits;
class Session;
struct MenuInput;
struct MenuScreens;
struct MenuSession;

// The menus between matches, run as the program's driver over a match that stands idle behind
// them (both fighters of the session on the dojo): each step shows the screen in place, one
// picture a step. Ends when a screen starts a match or the player quits. Made by the FrontDoor
// for the menus' scene, which owns it; the screens and the choices are the FrontDoor's.
class MenuRun : public MatchDriver {
public:
    // outcome becomes Play when a screen starts a match, and stays as it is otherwise (Quit,
    // also when the window is closed).
    MenuRun(std::unique_ptr<MatchDriver> backdrop, Session& session, MatchScene& scene,
            MenuScreens& screens, MenuSession& choices, Screen start, Next& outcome);
    ~MenuRun() override;

    bool step(const StepInput& keyboard) override;
    void presentTo(StepPresenter& presenter) override { backdrop->presentTo(presenter); }

private:
    // The screen in place for this step; the screen it asks for.
    std::optional<Screen> stepScreen(const StepInput& keyboard, const MenuInput& input);
    void show(Screen next);
    std::string footer() const;
    // The keys held when the menus opened count only once let go: the Enter that chose the
    // last match's end must not choose on the title too.
    MenuInput withoutStaleKeys(MenuInput input);

    std::unique_ptr<MatchDriver> backdrop;
    Session& session;
    MenuScreens& screens;
    MenuSession& choices;
    Next& outcome;
    MenuLayer layer;
    std::unique_ptr<Portraits> portraits;
    Screen screen;
    bool firstStep = true;
    std::bitset<256> staleKeys;
};
