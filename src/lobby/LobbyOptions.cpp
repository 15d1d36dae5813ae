#include "lobby/LobbyOptions.h"

#include <iostream>
#include <sstream>

#include <CLI/CLI.hpp>
#include <arpa/inet.h>

namespace {

// HOST:PORT with a port from 1 to 65535.
bool splitAddress(const std::string& text, std::string& host, int& port) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    const std::string digits = text.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    host = text.substr(0, colon);
    port = std::stoi(digits);
    return port >= 1 && port <= 65535;
}

bool readIp(const std::string& text, std::uint32_t& ip) {
    in_addr address{};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1)
        return false;
    ip = address.s_addr;
    return true;
}

int usageError(const std::string& error) {
    std::cerr << "vorrak-lobby: " << error << "\n";
    return 2;
}

} // namespace

std::optional<int> LobbyOptions::parse(int argc, char** argv) {
    CLI::App app("vorrak-lobby: where Vorrak's players meet for online matches", "vorrak-lobby");
    int port = server.port;
    std::string bind = "0.0.0.0";
    std::string publicAddress;
    std::string relayPorts;
    std::string redis;
    app.add_option("--port", port, "UDP port to listen on (default 7800)")->check(CLI::Range(1, 65535));
    app.add_option("--bind", bind, "IPv4 address to listen on (default all)");
    app.add_option("--max-clients", server.maxClients, "Games connected at once (default 4000)")
        ->check(CLI::Range(1, 4095));
    app.add_option("--per-address", server.perAddress,
                   "Games connected at once from one address (default 16)")
        ->check(CLI::Range(1, 4095));
    app.add_option("--relay-ports", relayPorts,
                   "UDP ports of the relay, two per relayed match (default: none)")
        ->type_name("FIRST-LAST");
    app.add_option("--public-address", publicAddress,
                   "IPv4 address players reach the relay at (default: the one they reach the "
                   "lobby at)");
    int roomMinutes = server.roomSeconds / 60;
    app.add_option("--room-minutes", roomMinutes, "Minutes a room waits for a guest (default 10)")
        ->check(CLI::Range(1, 1440));
    app.add_option("--ping-limit", server.pingLimitMs,
                   "Quick match: pair players whose pings add up to at most MS, for up to 10 s "
                   "(default: the longest waiting, whatever their ping)")
        ->type_name("MS")
        ->check(CLI::Range(1, 5000));
    app.add_option("--redis", redis, "Keep the state in Redis at HOST:PORT, shared by every "
                                     "lobby given the same")
        ->type_name("HOST:PORT");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return usageError(e.what());
    }
    server.port = static_cast<std::uint16_t>(port);
    server.roomSeconds = roomMinutes * 60;
    if (!readIp(bind, server.bindIp))
        return usageError("--bind: '" + bind + "' is not an IPv4 address");
    if (!publicAddress.empty() && !readIp(publicAddress, server.publicIp))
        return usageError("--public-address: '" + publicAddress + "' is not an IPv4 address");
    if (!redis.empty() && !splitAddress(redis, redisHost, redisPort))
        return usageError("--redis: '" + redis + "' is not HOST:PORT");
    if (!relayPorts.empty()) {
        int first = 0;
        int last = 0;
        char dash = 0;
        std::istringstream range(relayPorts);
        if (!(range >> first >> dash >> last) || dash != '-' || !range.eof() || first < 1 ||
            last > 65535 || last < first + 1 || last - first > 4095)
            return usageError("--relay-ports: '" + relayPorts +
                              "' is not FIRST-LAST, two to 4096 ports from 1 to 65535");
        server.relayFirst = static_cast<std::uint16_t>(first);
        server.relayLast = static_cast<std::uint16_t>(last);
    }
    return std::nullopt;
}
