#include "app/OnlineOptions.h"

#include <CLI/CLI.hpp>

namespace {

// Debian's ENet speaks IPv4 only.
const char* const noIpv6 = "IPv6 addresses are not supported";

// [ADDR]:PORT, [ADDR] and a bare address with more than one colon name an IPv6 host.
bool isIpv6(const std::string& address) {
    return address.front() == '[' || address.find(':') != address.rfind(':');
}

// HOST or HOST:PORT into host and the options' port; false when the port is not a number from 1
// to 65535 or no host is named.
bool parseAddress(const std::string& address, std::string& host, Options& options) {
    const std::size_t colon = address.rfind(':');
    host = address.substr(0, colon);
    if (colon == std::string::npos)
        return !address.empty();
    const std::string port = address.substr(colon + 1);
    if (host.empty() || port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    options.port = std::stoi(port);
    return options.port >= 1 && options.port <= 65535;
}

} // namespace

OnlineOptions::OnlineOptions(CLI::App& app, Options& options) : options(options) {
    host = app.add_option("--host", options.port,
                          "Play online: wait for the other player on UDP port PORT (default " +
                              std::to_string(Options::defaultPort) + ")")
               ->type_name("PORT")
               ->expected(0, 1)
               ->check(CLI::Range(1, 65535));
    join = app.add_option("--join", joinAddress, "Play online: join the player waiting at HOST")
               ->type_name("HOST[:PORT]");
    delay = app.add_option("--delay", options.inputDelay,
                           "Online: steps between a key and the match taking it (default 1)")
                ->type_name("N")
                ->check(CLI::Range(0, 4));
    joinTimeout = app.add_option("--join-timeout", options.joinTimeout,
                                 "Online: seconds to keep trying to reach the host (default 30)")
                      ->type_name("S")
                      ->check(CLI::Range(1, 3600));
    timeout = app.add_option("--timeout", options.silenceLimit,
                             "Online: seconds without a packet that end the match (default 5)")
                  ->type_name("S")
                  ->check(CLI::Range(1, 600));
    watch = app.add_option("--watch", watchAddress,
                           "Watch the online match of the host at HOST, a moment behind the "
                           "players; Escape leaves")
                ->type_name("HOST[:PORT]");
    spectators =
        app.add_option("--spectators", options.spectators,
                       "Online, the host: how many may watch the match (default 8; 0 for none)")
            ->type_name("N")
            ->check(CLI::Range(0, 32));
    watchDelay = app.add_option("--watch-delay", options.watchDelay,
                                "Watching: seconds behind the players (default 1)")
                     ->type_name("S")
                     ->check(CLI::Range(0.0, 5.0));
    host->excludes(join);
    watch->excludes(host)->excludes(join)->excludes(delay);
}

std::optional<std::string> OnlineOptions::check() {
    options.host = host->count() > 0;
    options.inputDelaySet = delay->count() > 0;
    const bool joining = join->count() > 0;
    const bool watching = watch->count() > 0;
    for (const std::string* address : {&joinAddress, &watchAddress})
        if (!address->empty() && isIpv6(*address))
            return std::string(noIpv6);
    if (joining && !parseAddress(joinAddress, options.joinHost, options))
        return "--join: '" + joinAddress + "' is not HOST or HOST:PORT";
    if (watching && !parseAddress(watchAddress, options.watchHost, options))
        return "--watch: '" + watchAddress + "' is not HOST or HOST:PORT";
    // A lobby's match is played as a host's or a guest's.
    const bool viaLobby = !options.lobbyHost.empty();
    if (delay->count() > 0 && !options.host && !joining && !viaLobby)
        return std::string("--delay needs --host or --join");
    if (joinTimeout->count() > 0 && !joining && !watching && !viaLobby)
        return std::string("--join-timeout needs --join or --watch");
    if (timeout->count() > 0 && !options.host && !joining && !watching && !viaLobby)
        return std::string("--timeout needs --host, --join or --watch");
    if (spectators->count() > 0 && !options.host)
        return std::string("--spectators needs --host");
    if (watchDelay->count() > 0 && !watching)
        return std::string("--watch-delay needs --watch");
    return std::nullopt;
}
