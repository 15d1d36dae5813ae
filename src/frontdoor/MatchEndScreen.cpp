#include "frontdoor/MatchEndScreen.h"

#include "menu/MenuPage.h"

std::optional<Next> MatchEndScreen::step(MenuLayer& layer, const std::string& result) {
    MenuPage page(layer, "end", result);
    if (page.item("Rematch"))
        return Next::Rematch;
    if (page.item("Fighter select"))
        return Next::Select;
    if (page.item("Title") || page.back())
        return Next::Title;
    return std::nullopt;
}
