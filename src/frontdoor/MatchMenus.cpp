#include "frontdoor/MatchMenus.h"

#include <algorithm>
#include <cctype>

#include <OISKeyboard.h>
#include <OgreRenderWindow.h>

#include "app/MatchScene.h"
#include "app/Session.h"
#include "frontdoor/KeptSettings.h"
#include "frontdoor/keysLine.h"
#include "input/StepInput.h"
#include "match/Match.h"
#include "render/Hud.h"
#include "render/MatchView.h"
#include "render/roundCaptions.h"

namespace {

// How long the end's menu takes no input: a punch mashed as the match ended lets go by then.
constexpr int deafAfterTheEnd = 45;

} // namespace

MatchMenus::MatchMenus(std::unique_ptr<MatchDriver> inner, Session& session, MatchScene& scene,
                       KeptSettings& kept, Kind kind, Next& outcome)
    : inner(std::move(inner)), session(session), match(*scene.getMatch()),
      view(*scene.getMatchView()), kind(kind), kept(kept),
      layer(*session.getWindow()), pause(kind == Kind::Local    ? PauseScreen::Local
                                     : kind == Kind::Online ? PauseScreen::Playing
                                                            : PauseScreen::Watching),
      settings(kept), keys1(kept, 0), keys2(kept, 1),
      moves(session.getResourceDir() + "/media"), leaveTo(outcome) {}

MatchMenus::~MatchMenus() = default;

bool MatchMenus::step(const StepInput& keyboard) {
    if (kind == Kind::Replay) {
        if (inner->step(keyboard))
            return true;
        leaveTo = Next::Replays;
        return false;
    }
    const bool opening = showing == Showing::Nothing && keyboard.keys.quit;
    if (opening) {
        showMenu(Showing::Pause);
        pause.open();
    } else if (showing == Showing::Nothing && decided()) {
        showMenu(Showing::End);
        deafSteps = deafAfterTheEnd;
    }
    if (showing == Showing::Nothing) {
        if (shownBefore) {
            layer.hide();
            view.hud().showCaptions(true);
        }
        shownBefore = false;
        if (inner->step(keyboard))
            return true;
        // The other side ended an online match, or the match itself ended.
        leaveTo = Next::Title;
        return false;
    }
    // Online the match goes on under the menu; the keys only move the menu.
    StepInput withoutPlayers;
    withoutPlayers.keys.timingOverlay = keyboard.keys.timingOverlay;
    if (kind != Kind::Local && !inner->step(withoutPlayers)) {
        leaveTo = Next::Title;
        return false;
    }
    const MenuInput input = menuInput(keyboard);
    layer.beginStep(input);
    const bool goOn = stepMenus(opening, input);
    layer.endStep();
    shownBefore = true;
    return goOn;
}

void MatchMenus::showMenu(Showing menu) {
    showing = menu;
    layer.setFooter(keysLine(kept.bindings) + (menu == Showing::Pause ? "     Escape: resume" : ""));
    view.hud().showCaptions(false);
}

MenuInput MatchMenus::menuInput(const StepInput& keyboard) {
    MenuInput input = session.menuInput();
    if (showing != Showing::End)
        return input;
    // What is held while the menu is deaf counts only once let go: a punch held through the
    // end does not choose the moment the menu hears again.
    if (deafSteps > 0) {
        --deafSteps;
        staleKeys |= input.keys;
        for (std::size_t pad = 0; pad < input.pads.size(); ++pad)
            for (int control = 0; control < Control::count; ++control)
                stalePads[pad].held[control] |= input.pads[pad].held[control];
        MenuInput deaf;
        deaf.time = input.time;
        deaf.pointer.x = input.pointer.x;
        deaf.pointer.y = input.pointer.y;
        deaf.pointer.inside = input.pointer.inside;
        return deaf;
    }
    staleKeys &= input.keys;
    input.keys &= ~staleKeys;
    for (std::size_t pad = 0; pad < input.pads.size(); ++pad)
        for (int control = 0; control < Control::count; ++control) {
            bool& stale = stalePads[pad].held[control];
            stale = stale && input.pads[pad].held[control];
            input.pads[pad].held[control] = input.pads[pad].held[control] && !stale;
        }
    // Each player's own punch confirms, whatever keys they have.
    if (keyboard.players[0].pressed[0] || keyboard.players[1].pressed[0])
        input.keys.set(OIS::KC_RETURN);
    return input;
}

// Only a local match stops at its end: online the players ask for a rematch by punching, as
// always.
bool MatchMenus::decided() const {
    return kind == Kind::Local && match.matchRules().versus &&
           match.roundState().phase == RoundState::MatchOver;
}

bool MatchMenus::stepMenus(bool opening, const MenuInput& input) {
    std::optional<Screen> next;
    switch (showing) {
    case Showing::Pause: {
        std::optional<PauseScreen::Choice> choice = pause.step(layer, leaveTo);
        // The Escape that opened the menu does not close it in the same step.
        if (opening && choice == PauseScreen::Choice::Resume)
            choice.reset();
        if (choice == PauseScreen::Choice::Resume)
            showing = Showing::Nothing;
        if (choice == PauseScreen::Choice::Settings) {
            showing = Showing::Settings;
            layer.setFooter({});
        }
        if (choice == PauseScreen::Choice::Moves) {
            showing = Showing::Moves;
            layer.setFooter({});
        }
        return choice != PauseScreen::Choice::Leave;
    }
    case Showing::End: {
        std::string result = resultLine(match.roundState());
        std::transform(result.begin(), result.end(), result.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        const std::optional<Next> chosen = end.step(layer, result, deafSteps == 0);
        if (chosen)
            leaveTo = *chosen;
        return !chosen;
    }
    case Showing::Settings:
        next = settings.step(layer);
        break;
    case Showing::Keys1:
        next = keys1.step(layer, input);
        break;
    case Showing::Keys2:
        next = keys2.step(layer, input);
        break;
    case Showing::Moves:
        next = moves.step(layer, kept.bindings, Screen::Title);
        break;
    case Showing::Nothing:
        break;
    }
    if (next)
        layer.setFooter({});
    if (next == Screen::Keys1)
        showing = Showing::Keys1;
    else if (next == Screen::Keys2)
        showing = Showing::Keys2;
    else if (next == Screen::Settings)
        showing = Showing::Settings;
    else if (next)
        showMenu(Showing::Pause);
    return true;
}
