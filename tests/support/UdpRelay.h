#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// What the relay does to the datagrams it carries, both ways alike.
struct Faults {
    double delayMs = 10;
    double jitterMs = 0;
    double loss = 0;
    double duplicates = 0;
    double corrupt = 0; // one bit flipped
    // Everything dropped for this long from this time on (from the relay's start).
    double blackoutFromMs = 0;
    double blackoutMs = 0;
};

// A bad network between games on the loopback, in real time as ENet needs it: the guests (and
// spectators) send to the relay's port, each gets a socket of its own toward the host's port,
// and the host's answers go back to whoever that socket stands for. Used by the engine tests
// and, as `net_peer relay`, by the end-to-end tests.
class UdpRelay {
    using Clock = std::chrono::steady_clock;

public:
    UdpRelay(std::uint16_t hostPort, Faults faults, unsigned seed)
        : faults(faults), random(seed), clientSide(openSocket()) {
        host.sin_family = AF_INET;
        host.sin_port = htons(hostPort);
        host.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    }
    ~UdpRelay() {
        close(clientSide);
        for (const Client& client : clients)
            close(client.hostSide);
    }
    UdpRelay(const UdpRelay&) = delete;
    UdpRelay& operator=(const UdpRelay&) = delete;

    std::uint16_t port() const {
        sockaddr_in address{};
        socklen_t size = sizeof address;
        getsockname(clientSide, reinterpret_cast<sockaddr*>(&address), &size);
        return ntohs(address.sin_port);
    }

    // Takes in what arrived and sends on what is due.
    void pump() {
        const double now = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        receive(clientSide, std::nullopt, now);
        for (std::size_t i = 0; i < clients.size(); ++i)
            receive(clients[i].hostSide, i, now);
        while (!due.empty() && due.begin()->first <= now) {
            const Datagram& datagram = due.begin()->second;
            const Client& client = clients[datagram.client];
            if (datagram.toHost)
                sendto(client.hostSide, datagram.bytes.data(), datagram.bytes.size(), 0,
                       reinterpret_cast<const sockaddr*>(&host), sizeof host);
            else
                sendto(clientSide, datagram.bytes.data(), datagram.bytes.size(), 0,
                       reinterpret_cast<const sockaddr*>(&client.address), sizeof client.address);
            due.erase(due.begin());
        }
    }

private:
    struct Client {
        sockaddr_in address;
        int hostSide;
    };
    struct Datagram {
        bool toHost;
        std::size_t client;
        std::vector<std::uint8_t> bytes;
    };

    static int openSocket() {
        const int fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            throw std::runtime_error("the relay cannot open a socket");
        fcntl(fd, F_SETFL, O_NONBLOCK);
        return fd;
    }

    std::size_t clientAt(const sockaddr_in& from) {
        for (std::size_t i = 0; i < clients.size(); ++i)
            if (clients[i].address.sin_port == from.sin_port &&
                clients[i].address.sin_addr.s_addr == from.sin_addr.s_addr)
                return i;
        clients.push_back({from, openSocket()});
        return clients.size() - 1;
    }

    // fromHost: the client whose socket toward the host it came in on.
    void receive(int fd, std::optional<std::size_t> fromHost, double now) {
        std::vector<std::uint8_t> buffer(4096);
        sockaddr_in from{};
        socklen_t size = sizeof from;
        for (ssize_t n; (n = recvfrom(fd, buffer.data(), buffer.size(), 0,
                                      reinterpret_cast<sockaddr*>(&from), &size)) > 0;
             size = sizeof from) {
            const std::size_t client = fromHost ? *fromHost : clientAt(from);
            if (now >= faults.blackoutFromMs && now < faults.blackoutFromMs + faults.blackoutMs)
                continue;
            if (chance(faults.loss))
                continue;
            Datagram datagram{!fromHost, client, {buffer.begin(), buffer.begin() + n}};
            if (chance(faults.corrupt)) {
                const std::size_t bit = pick(datagram.bytes.size() * 8);
                datagram.bytes[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
            }
            if (chance(faults.duplicates))
                due.emplace(now + delay(), datagram);
            due.emplace(now + delay(), std::move(datagram));
        }
    }

    double delay() {
        return faults.delayMs + std::uniform_real_distribution<double>(0, faults.jitterMs)(random);
    }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random) < p; }
    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    }

    Faults faults;
    std::mt19937 random;
    int clientSide;
    sockaddr_in host{};
    std::vector<Client> clients;
    std::multimap<double, Datagram> due;
    Clock::time_point start = Clock::now();
};
