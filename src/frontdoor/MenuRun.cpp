#include "frontdoor/MenuRun.h"

#include <OgreRenderWindow.h>

#include "app/MatchScene.h"
#include "app/Session.h"
#include "frontdoor/MenuScreens.h"
#include "frontdoor/MenuSession.h"
#include "frontdoor/KeptSettings.h"
#include "frontdoor/Portraits.h"
#include "frontdoor/keysLine.h"
#include "input/StepInput.h"
#include "render/Hud.h"
#include "render/MatchView.h"

MenuRun::MenuRun(std::unique_ptr<MatchDriver> backdrop, Session& session, MatchScene& scene,
                 MenuScreens& screens, MenuSession& choices, Screen start, Next& outcome)
    : backdrop(std::move(backdrop)), session(session), screens(screens), choices(choices),
      outcome(outcome), layer(*session.getWindow()),
      portraits(std::make_unique<Portraits>(screens.fighters)), screen(Screen::Title) {
    screens.select.showPictures(portraits->textures());
    if (MatchView* view = scene.getMatchView())
        view->hud().hide();
    show(start);
}

MenuRun::~MenuRun() {
    screens.select.showPictures({});
}

bool MenuRun::step(const StepInput& keyboard) {
    // The fighters stand and breathe behind the menus; no key reaches them.
    backdrop->step(StepInput{});
    const MenuInput input = withoutStaleKeys(session.menuInput());
    layer.setFooter(footer());
    layer.beginStep(input);
    const std::optional<Screen> next = stepScreen(keyboard, input);
    layer.endStep();
    if (next)
        show(*next);
    return screen != Screen::Play && screen != Screen::Quit;
}

// The players' keys where there is room for them: on the title and at fighter select.
std::string MenuRun::footer() const {
    if (screen == Screen::Title && screens.title.problems.empty())
        return keysLine(screens.kept.bindings) + "     Enter: choose     Escape: quit";
    if (screen == Screen::Select)
        return keysLine(screens.kept.bindings) + "     Escape: back";
    return {};
}

MenuInput MenuRun::withoutStaleKeys(MenuInput input) {
    if (firstStep) {
        staleKeys = input.keys;
        input.typed.clear();
        firstStep = false;
    }
    staleKeys &= input.keys;
    input.keys &= ~staleKeys;
    return input;
}

std::optional<Screen> MenuRun::stepScreen(const StepInput& keyboard, const MenuInput& input) {
    switch (screen) {
    case Screen::Title:
        return screens.title.step(layer, choices);
    case Screen::Computer:
        return screens.computer.step(layer, choices);
    case Screen::Online:
        return screens.online.step(layer, choices);
    case Screen::Select:
        return screens.select.step(layer, choices, keyboard);
    case Screen::Replays:
        return screens.replays.step(layer, choices);
    case Screen::Settings:
        return screens.settings.step(layer);
    case Screen::Keys1:
        return screens.keys1.step(layer, input);
    case Screen::Keys2:
        return screens.keys2.step(layer, input);
    case Screen::Moves:
        return screens.moves.step(layer, screens.kept.bindings, Screen::Title);
    case Screen::Play:
    case Screen::Quit:
        break;
    }
    return std::nullopt;
}

void MenuRun::show(Screen next) {
    screen = next;
    if (next == Screen::Play)
        outcome = Next::Play;
    if (next == Screen::Select)
        screens.select.enter(choices);
    if (next == Screen::Replays)
        screens.replays.enter();
}
