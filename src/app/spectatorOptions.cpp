#include "app/spectatorOptions.h"

#include <CLI/CLI.hpp>

namespace {

// HOST or HOST:PORT with a port from 1 to 65535; an IPv6 address is refused by the caller.
bool parseWatchAddress(const std::string& address, Options& options) {
    const std::size_t colon = address.rfind(':');
    options.watchHost = address.substr(0, colon);
    if (colon == std::string::npos)
        return !address.empty();
    const std::string port = address.substr(colon + 1);
    if (options.watchHost.empty() || port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    options.port = std::stoi(port);
    return options.port >= 1 && options.port <= 65535;
}

} // namespace

SpectatorOptions addSpectatorOptions(CLI::App& app, Options& options) {
    SpectatorOptions added;
    added.watch = app.add_option("--watch", added.address,
                                 "Watch the online match of the host at HOST, a moment behind "
                                 "the players; Escape leaves")
                      ->type_name("HOST[:PORT]");
    added.spectators =
        app.add_option("--spectators", options.spectators,
                       "Online, the host: how many may watch the match (default 8; 0 for none)")
            ->type_name("N")
            ->check(CLI::Range(0, 32));
    added.delay = app.add_option("--watch-delay", options.watchDelay,
                                 "Watching: seconds behind the players (default 1)")
                      ->type_name("S")
                      ->check(CLI::Range(0.0, 5.0));
    for (const char* other : {"--host", "--join", "--replay", "--sync-test", "--frame-data",
                              "--training", "--versus", "--delay"})
        added.watch->excludes(other);
    return added;
}

std::optional<std::string> checkSpectatorOptions(SpectatorOptions& added, Options& options) {
    const bool watching = added.watch->count() > 0;
    if (watching && !added.address.empty() &&
        (added.address.front() == '[' || added.address.find(':') != added.address.rfind(':')))
        return std::string("IPv6 addresses are not supported");
    if (watching && !parseWatchAddress(added.address, options))
        return "--watch: '" + added.address + "' is not HOST or HOST:PORT";
    if (added.spectators->count() > 0 && !options.host)
        return std::string("--spectators needs --host");
    if (added.delay->count() > 0 && !watching)
        return std::string("--watch-delay needs --watch");
    return std::nullopt;
}
