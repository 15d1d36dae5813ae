#include "frontdoor/MatchEndScreen.h"

#include "menu/MenuPage.h"

std::optional<Next> MatchEndScreen::step(MenuLayer& layer, const std::string& result,
                                         bool listening) {
    // A page of its own while deaf: the rows' page then opens with its first row in focus.
    MenuPage page(layer, listening ? "end" : "ended", result);
    if (!listening)
        return std::nullopt;
    if (page.item("Rematch"))
        return Next::Rematch;
    if (page.item("Fighter select"))
        return Next::Select;
    if (page.item("Title") || page.back())
        return Next::Title;
    return std::nullopt;
}
