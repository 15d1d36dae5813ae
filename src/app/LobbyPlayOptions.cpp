#include "app/LobbyPlayOptions.h"

#include <cstdlib>

#include <CLI/CLI.hpp>

#include "lobby/PlayerName.h"
#include "lobby/RoomCode.h"

namespace {

// The user's login name when it makes a name the lobby takes, otherwise "player".
std::string defaultName() {
    const char* user = std::getenv("USER");
    return user && PlayerName::valid(user) ? user : "player";
}

} // namespace

LobbyPlayOptions::LobbyPlayOptions(CLI::App& app, Options& options) : options(options) {
    lobby = app.add_option("--lobby", address,
                           "Play online through the lobby at HOST (default port " +
                               std::to_string(lobby::defaultLobbyPort) + "): a quick match "
                               "unless told otherwise")
                ->type_name("HOST[:PORT]");
    name = app.add_option("--name", options.playerName,
                          "Lobby: your name there, 2 to 16 characters (default your login)")
               ->type_name("NAME");
    quick = app.add_flag("--quick", "Lobby: play whoever has waited longest");
    room = app.add_flag("--room", "Lobby: make a room and print its code for a friend");
    code = app.add_option("--code", options.roomCode, "Lobby: join the room with this code")
               ->type_name("CODE");
    list = app.add_flag("--list-matches", "Lobby: print the matches under way and exit");
    watchMatch = app.add_option("--watch-match", options.watchMatch,
                                "Lobby: watch the match of this number (from --list-matches)")
                     ->type_name("ID")
                     ->check(CLI::Range(1u, 4294967295u));
    quick->excludes(room)->excludes(code)->excludes(list)->excludes(watchMatch);
    room->excludes(code)->excludes(list)->excludes(watchMatch);
    code->excludes(list)->excludes(watchMatch);
    list->excludes(watchMatch);
    for (CLI::Option* way : {name, quick, room, code, list, watchMatch})
        way->needs(lobby);
}

std::optional<std::string> LobbyPlayOptions::check() {
    if (lobby->count() == 0)
        return std::nullopt;
    const std::size_t colon = address.rfind(':');
    options.lobbyHost = address.substr(0, colon);
    if (address.front() == '[' || (colon != std::string::npos && address.find(':') != colon))
        return std::string("IPv6 addresses are not supported");
    if (colon != std::string::npos) {
        const std::string port = address.substr(colon + 1);
        if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(port) < 1 || std::stoi(port) > 65535)
            return "--lobby: '" + address + "' is not HOST or HOST:PORT";
        options.lobbyPort = std::stoi(port);
    }
    if (options.lobbyHost.empty())
        return "--lobby: '" + address + "' is not HOST or HOST:PORT";
    if (name->count() == 0)
        options.playerName = defaultName();
    if (!PlayerName::valid(options.playerName))
        return "--name: '" + options.playerName +
               "' is not 2 to 16 printable characters without spaces at its ends";
    if (code->count() > 0) {
        const std::optional<std::string> canonical = RoomCode::normalise(options.roomCode);
        if (!canonical)
            return "--code: '" + options.roomCode + "' is not a room's code (4 letters and digits)";
        options.roomCode = *canonical;
    }
    options.lobbyWay = room->count() > 0          ? Options::LobbyWay::Room
                       : code->count() > 0        ? Options::LobbyWay::Code
                       : list->count() > 0        ? Options::LobbyWay::List
                       : watchMatch->count() > 0  ? Options::LobbyWay::Watch
                                                  : Options::LobbyWay::Quick;
    return std::nullopt;
}
