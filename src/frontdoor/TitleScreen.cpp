#include "frontdoor/TitleScreen.h"

#include "frontdoor/MenuSession.h"
#include "menu/MenuPage.h"

std::optional<Screen> TitleScreen::step(MenuLayer& layer, MenuSession& session) {
    if (askingToQuit) {
        MenuPage page(layer, "quit", "QUIT VORRAK?");
        // No first: a second Enter does not end the game by mistake.
        if (page.item("No") || page.back())
            askingToQuit = false;
        if (page.item("Yes"))
            return Screen::Quit;
        return std::nullopt;
    }
    MenuPage page(layer, "title", "VORRAK");
    std::optional<Screen> next;
    if (page.item("Versus")) {
        session.mode = MenuSession::Mode::Versus;
        next = Screen::Select;
    }
    if (page.item("Versus the computer"))
        next = Screen::Computer;
    if (page.item("Training")) {
        session.mode = MenuSession::Mode::Training;
        next = Screen::Select;
    }
    if (page.item("Online"))
        next = Screen::Online;
    if (page.item("Replays"))
        next = Screen::Replays;
    if (page.item("Settings"))
        next = Screen::Settings;
    if (page.item("Moves"))
        next = Screen::Moves;
    if (page.item("Quit") || page.back())
        askingToQuit = true;
    for (const std::string& problem : problems)
        page.warning(problem);
    return next;
}
