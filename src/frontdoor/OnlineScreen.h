#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontdoor/Screen.h"

class MenuLayer;
struct MenuSession;

// Online: host on a port, join an address or watch one, each typed in (HOST or HOST:PORT, the
// port 7717 when none is given), with the fighter this side plays and, hosting, the stage. An
// address that cannot be used is told below the rows and starts nothing. Owned by the menus'
// run.
class OnlineScreen {
public:
    // The fighters' and stages' names as players type them.
    OnlineScreen(std::vector<std::string> fighters, std::vector<std::string> stages);

    std::optional<Screen> step(MenuLayer& layer, MenuSession& session);

    // The words for what is wrong with a typed port or address; empty when it can be used.
    static std::string portProblem(const std::string& port);
    static std::string addressProblem(const std::string& address);
    // A word to show under the rows: why the last match ended, when it failed.
    std::string problem;

private:
    std::vector<std::string> fighters;
    std::vector<std::string> stages;
};
