#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "lobby/Endpoint.h"
#include "lobby/FloodGate.h"

// The lobby's relay, for players whose routers let no direct way open (a router that gives
// every destination a port of its own): a pair of UDP ports per match, one the host sends to
// and one the guest sends to; what comes in on one goes out of the other to the player behind
// it. Each side is bound to the address its first datagram came from, and only from the public
// address the lobby knows for that player; a side's traffic is held to a few hundred kilobits
// a second. A pair that hears nothing for a while is freed. The players' own ENet packets pass
// untouched: to each side the relay's port is the other player. Owned by the lobby server.
class Relay {
public:
    struct Ports {
        std::uint16_t host = 0;
        std::uint16_t guest = 0;
    };

    // Throws std::runtime_error when a port of the range cannot be opened. An empty range
    // (first 0) is no relay.
    Relay(std::uint32_t bindIp, std::uint16_t firstPort, std::uint16_t lastPort);
    ~Relay();
    Relay(const Relay&) = delete;
    Relay& operator=(const Relay&) = delete;

    // A free pair for a match between these public addresses; nothing when all are in use.
    std::optional<Ports> open(std::uint32_t hostIp, std::uint32_t guestIp, double now);
    // The sockets, for the server's wait.
    std::vector<int> sockets() const;
    // Passes on what arrived, and frees the pairs silent for too long.
    void service(double now);
    int inUse() const;

private:
    struct Side {
        int socket = -1;
        std::uint16_t port = 0;
        std::uint32_t allowedIp = 0;
        lobby::Endpoint from;
        FloodGate gate{400, 800};
    };
    struct Pair {
        Side sides[2];
        bool open = false;
        double lastHeard = 0;
    };

    void pass(Pair& pair, int side, double now);

    std::vector<Pair> pairs;
};
