#include "frontdoor/MatchMenus.h"

#include <algorithm>
#include <cctype>

#include <OgreRenderWindow.h>

#include "app/Session.h"
#include "input/StepInput.h"
#include "match/Match.h"
#include "render/roundCaptions.h"

MatchMenus::MatchMenus(std::unique_ptr<MatchDriver> inner, Session& session, Match& match,
                       KeptSettings& kept, Kind kind, Next& outcome)
    : inner(std::move(inner)), session(session), match(match), kind(kind),
      layer(*session.getWindow()), pause(kind == Kind::Local    ? PauseScreen::Local
                                     : kind == Kind::Online ? PauseScreen::Playing
                                                            : PauseScreen::Watching),
      settings(kept), keys1(kept, 0), keys2(kept, 1), leaveTo(outcome) {}

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
        showing = Showing::Pause;
        pause.open();
    } else if (showing == Showing::Nothing && decided()) {
        showing = Showing::End;
    }
    if (showing == Showing::Nothing) {
        if (shownBefore)
            layer.hide();
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
    const MenuInput input = session.menuInput();
    layer.beginStep(input);
    const bool goOn = stepMenus(opening, input);
    layer.endStep();
    shownBefore = true;
    return goOn;
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
        if (choice == PauseScreen::Choice::Settings)
            showing = Showing::Settings;
        return choice != PauseScreen::Choice::Leave;
    }
    case Showing::End: {
        std::string result = resultLine(match.roundState());
        std::transform(result.begin(), result.end(), result.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        const std::optional<Next> chosen = end.step(layer, result);
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
    case Showing::Nothing:
        break;
    }
    if (next == Screen::Keys1)
        showing = Showing::Keys1;
    else if (next == Screen::Keys2)
        showing = Showing::Keys2;
    else if (next == Screen::Settings)
        showing = Showing::Settings;
    else if (next)
        showing = Showing::Pause;
    return true;
}
