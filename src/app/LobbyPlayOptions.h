#pragma once

#include <optional>
#include <string>

#include "app/Options.h"

namespace CLI {
class App;
class Option;
} // namespace CLI

// Meeting through a lobby on the command line: --lobby HOST[:PORT], the player's --name there,
// and one of --quick (the default), --room, --code CODE, --list-matches and --watch-match ID.
// parseCommandLine owns it for the parse.
class LobbyPlayOptions {
public:
    LobbyPlayOptions(CLI::App& app, Options& options);

    // A usage error in these options, or nothing; fills in the lobby's address and the way.
    std::optional<std::string> check();

    CLI::Option* lobby;

private:
    Options& options;
    std::string address;
    CLI::Option* name;
    CLI::Option* quick;
    CLI::Option* room;
    CLI::Option* code;
    CLI::Option* list;
    CLI::Option* watchMatch;
};
