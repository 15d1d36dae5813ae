#include "frontdoor/OnlineScreen.h"

#include "frontdoor/MenuSession.h"
#include "menu/MenuPage.h"

namespace {

constexpr std::size_t maxAddress = 253 + 6;

} // namespace

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
    if (!problem.empty())
        page.note(problem);
    if (page.back())
        next = Screen::Title;
    return next;
}
