#include "lobby/Relay.h"

#include <stdexcept>
#include <string>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A pair unheard for this long is the match's end.
constexpr double idleSeconds = 30;
constexpr std::size_t largestDatagram = 1500;
constexpr int datagramsPerRound = 256;

int openSocket(std::uint32_t ip, std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ip;
    address.sin_port = htons(port);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (fd >= 0)
            close(fd);
        throw std::runtime_error("Cannot open the relay's UDP port " + std::to_string(port) +
                                 " (is it in use?)");
    }
    return fd;
}

} // namespace

Relay::Relay(std::uint32_t bindIp, std::uint16_t firstPort, std::uint16_t lastPort) {
    if (firstPort == 0)
        return;
    for (int port = firstPort; port + 1 <= lastPort; port += 2) {
        Pair& pair = pairs.emplace_back();
        for (int side = 0; side < 2; ++side) {
            pair.sides[side].port = static_cast<std::uint16_t>(port + side);
            pair.sides[side].socket = openSocket(bindIp, pair.sides[side].port);
        }
    }
}

Relay::~Relay() {
    for (Pair& pair : pairs)
        for (Side& side : pair.sides)
            close(side.socket);
}

std::optional<Relay::Ports> Relay::open(std::uint32_t hostIp, std::uint32_t guestIp, double now) {
    for (Pair& pair : pairs) {
        if (pair.open)
            continue;
        pair.open = true;
        pair.lastHeard = now;
        pair.sides[0].allowedIp = hostIp;
        pair.sides[1].allowedIp = guestIp;
        for (Side& side : pair.sides)
            side.from = {};
        return Ports{pair.sides[0].port, pair.sides[1].port};
    }
    return std::nullopt;
}

std::vector<int> Relay::sockets() const {
    std::vector<int> fds;
    for (const Pair& pair : pairs)
        for (const Side& side : pair.sides)
            fds.push_back(side.socket);
    return fds;
}

void Relay::service(double now) {
    for (Pair& pair : pairs) {
        for (int side = 0; side < 2; ++side)
            pass(pair, side, now);
        if (pair.open && now - pair.lastHeard > idleSeconds)
            pair.open = false;
    }
}

int Relay::inUse() const {
    int count = 0;
    for (const Pair& pair : pairs)
        count += pair.open;
    return count;
}

// Everything waiting on one side's port: from its player, to the other side's player; the rest
// (another address, a closed pair, over the side's rate) is read and dropped.
void Relay::pass(Pair& pair, int side, double now) {
    Side& in = pair.sides[side];
    Side& out = pair.sides[1 - side];
    std::uint8_t datagram[largestDatagram];
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    ssize_t length;
    // A few hundred a round at most: a flood on one port cannot hold up the lobby.
    for (int read = 0; read < datagramsPerRound &&
                       (length = recvfrom(in.socket, datagram, sizeof datagram, 0,
                                          reinterpret_cast<sockaddr*>(&from), &fromLength)) >= 0;
         ++read) {
        fromLength = sizeof from;
        if (!pair.open || from.sin_addr.s_addr != in.allowedIp || !in.gate.pass(now))
            continue;
        const lobby::Endpoint sender{from.sin_addr.s_addr, ntohs(from.sin_port)};
        // The first datagram binds the side; a router's new mapping for the player rebinds it.
        in.from = sender;
        pair.lastHeard = now;
        if (out.from.port == 0)
            continue;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = out.from.ip;
        to.sin_port = htons(out.from.port);
        sendto(out.socket, datagram, static_cast<std::size_t>(length), 0,
               reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
}
