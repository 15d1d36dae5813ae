#include "frontdoor/OnlineScreen.h"

#include <algorithm>

#include "frontdoor/MenuSession.h"
#include "menu/MenuPage.h"

namespace {

constexpr std::size_t maxAddress = 253 + 6;

// The name after or before the given one, by the step a choice row returns.
void stepThrough(const std::vector<std::string>& names, std::string& name, int step) {
    if (step == 0 || names.empty())
        return;
    const auto found = std::find(names.begin(), names.end(), name);
    const int count = static_cast<int>(names.size());
    const int index = found == names.end() ? 0 : static_cast<int>(found - names.begin());
    name = names[((index + step) % count + count) % count];
}

} // namespace

OnlineScreen::OnlineScreen(std::vector<std::string> fighters, std::vector<std::string> stages)
    : fighters(std::move(fighters)), stages(std::move(stages)) {}

std::string OnlineScreen::portProblem(const std::string& port) {
    if (port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos || std::stoi(port) < 1 ||
        std::stoi(port) > 65535)
        return "The port is a number from 1 to 65535";
    return {};
}

std::string OnlineScreen::addressProblem(const std::string& address) {
    if (address.empty())
        return "Type the host's address first";
    if (address.front() == '[' || address.find(':') != address.rfind(':'))
        return "IPv6 addresses are not supported";
    const std::size_t colon = address.find(':');
    if (colon == 0)
        return "The address names no host";
    if (colon == std::string::npos)
        return {};
    return portProblem(address.substr(colon + 1));
}

std::optional<Screen> OnlineScreen::step(MenuLayer& layer, MenuSession& session) {
    MenuPage page(layer, "online", "ONLINE");
    std::optional<Screen> next;
    const auto start = [&](MenuSession::Mode mode, const std::string& wrong) {
        problem = wrong;
        if (!wrong.empty())
            return;
        session.mode = mode;
        next = Screen::Play;
    };
    if (page.textField("Host on port", session.hostPort, 5))
        start(MenuSession::Mode::Host, portProblem(session.hostPort));
    if (page.textField("Join", session.joinAddress, maxAddress))
        start(MenuSession::Mode::Join, addressProblem(session.joinAddress));
    if (page.textField("Watch", session.watchAddress, maxAddress))
        start(MenuSession::Mode::Watch, addressProblem(session.watchAddress));
    // This side's keys play the fighter Player 1 chose last, on the left hosting and on the
    // right joining; the host's stage is the match's.
    stepThrough(fighters, session.fighters[0],
                page.choice("Your fighter", session.fighters[0]));
    stepThrough(stages, session.stage, page.choice("Stage (hosting)", session.stage));
    if (!problem.empty())
        page.note(problem);
    if (page.back())
        next = Screen::Title;
    return next;
}
