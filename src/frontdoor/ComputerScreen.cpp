#include "frontdoor/ComputerScreen.h"

#include <algorithm>

#include "frontdoor/MenuSession.h"
#include "menu/MenuPage.h"

namespace {

constexpr int maxLevel = 8;

int wrapped(int value, int count) {
    return (value % count + count) % count;
}

} // namespace

ComputerScreen::ComputerScreen(std::vector<std::string> fighters) : fighters(std::move(fighters)) {}

std::optional<Screen> ComputerScreen::step(MenuLayer& layer, MenuSession& session) {
    MenuPage page(layer, "computer", "VERSUS THE COMPUTER");
    std::optional<Screen> next;
    if (page.item("Fight")) {
        session.mode = MenuSession::Mode::Computer;
        next = Screen::Select;
    }
    session.cpuLevel = std::clamp(
        session.cpuLevel + page.choice("Level", std::to_string(session.cpuLevel)), 1, maxLevel);
    if (page.choice("It plays", session.cpuPlayer == 1 ? "Left" : "Right") != 0)
        session.cpuPlayer = 3 - session.cpuPlayer;
    // Random first, then the roster's fighters in order.
    const auto found = std::find(fighters.begin(), fighters.end(), session.cpuFighter);
    const int index = session.cpuFighter.empty() || found == fighters.end()
                          ? 0
                          : static_cast<int>(found - fighters.begin()) + 1;
    const int count = static_cast<int>(fighters.size()) + 1;
    const int chosen = wrapped(
        index + page.choice("Its fighter", index == 0 ? "Random" : fighters[index - 1]), count);
    session.cpuFighter = chosen == 0 ? "" : fighters[chosen - 1];
    if (page.back())
        next = Screen::Title;
    return next;
}
