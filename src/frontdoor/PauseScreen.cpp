#include "frontdoor/PauseScreen.h"

#include "menu/MenuPage.h"

PauseScreen::PauseScreen(Match match) : match(match) {}

void PauseScreen::open() {
    askingToLeave = false;
}

std::optional<PauseScreen::Choice> PauseScreen::step(MenuLayer& layer, Next& leaveTo) {
    if (askingToLeave) {
        MenuPage page(layer, "leave", "LEAVE THE MATCH?");
        page.note(match == Watching ? "The match goes on without you"
                                    : "The other player's match ends too");
        if (page.item("No") || page.back())
            askingToLeave = false;
        if (page.item("Yes")) {
            leaveTo = Next::Title;
            return Choice::Leave;
        }
        return std::nullopt;
    }
    const bool online = match != Local;
    MenuPage page(layer, "pause", online ? "MENU" : "PAUSED");
    std::optional<Choice> choice;
    if (page.item("Resume") || page.back())
        choice = Choice::Resume;
    if (!online && page.item("Rematch")) {
        leaveTo = Next::Rematch;
        choice = Choice::Leave;
    }
    if (!online && page.item("Fighter select")) {
        leaveTo = Next::Select;
        choice = Choice::Leave;
    }
    if (page.item("Settings"))
        choice = Choice::Settings;
    if (page.item("Moves"))
        choice = Choice::Moves;
    if (online && page.item("Leave the match"))
        askingToLeave = true;
    if (!online && page.item("Quit to title")) {
        leaveTo = Next::Title;
        choice = Choice::Leave;
    }
    return choice;
}
