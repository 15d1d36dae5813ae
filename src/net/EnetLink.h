#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lobby/Endpoint.h"
#include "net/Messages.h"

struct _ENetHost;
struct _ENetPeer;

// The network under an online match, on ENet: one host waiting for one guest, or one guest
// connecting to it. Channel 0 carries inputs and greetings unreliably and unsequenced, channel
// 1 checksums and quit reliably. Every packet carries ENet's CRC32, so a damaged one is dropped
// (and a reliable one sent again) rather than read. Only the one peer is listened to, and only
// packets that decode; everything else is dropped. A guest tries to connect again and again
// until it is answered; a host already connected turns further guests away, saying so. A
// spectator connects as a guest does, saying so in ENet's connect data; the host takes up to
// its number of them beside its guest, each known by an id, and only sends them what it has.
// Owned by the network play driver or the spectator's.
class EnetLink {
public:
    // Throws std::runtime_error with a one-line reason when the port or address is unusable.
    // peerTimeoutMs: how long ENet itself waits on a silent connected peer; the game's own
    // silence limit, shorter, decides.
    static std::unique_ptr<EnetLink> host(std::uint16_t port, std::uint32_t peerTimeoutMs,
                                          int spectators = 0);
    // localPort: the port to send from (0: any), the one a lobby saw.
    static std::unique_ptr<EnetLink> join(const std::string& hostName, std::uint16_t port,
                                          std::uint32_t peerTimeoutMs, bool watch = false,
                                          std::uint16_t localPort = 0);
    ~EnetLink();

    EnetLink(const EnetLink&) = delete;
    EnetLink& operator=(const EnetLink&) = delete;

    struct Polled {
        std::vector<net::Message> messages;
        bool connected = false;
        bool disconnected = false;
        // The host is connected to another guest already.
        bool refused = false;
        // Malformed packets on the reliable channel: the other side is broken, not the network.
        bool malformedReliable = false;
        int malformedUnreliable = 0;
        // A spectator's: the host takes no more spectators, or let this one go as too far behind.
        bool noSpectators = false;
        bool leftBehind = false;
        // The host's: spectators come and gone, and what they said.
        std::vector<int> spectatorsJoined;
        std::vector<int> spectatorsLeft;
        std::vector<std::pair<int, net::Message>> fromSpectators;
    };
    // Everything that arrived, without waiting.
    Polled poll();

    void send(const net::Message& message, bool reliable);
    // To one spectator, reliably; nothing when it is gone.
    void sendTo(int spectator, const net::Message& message);
    // Lets a spectator go, telling it that it fell too far behind.
    void dropSpectator(int spectator);
    // Sends what is queued now rather than at the next poll.
    void flush();
    // Everything sent reliably to the peer was acknowledged.
    bool delivered() const;
    // Tells the peer the link is closing and lets ENet send what is queued (and send again what
    // was lost) until the peer acknowledged it all, for up to waitMs.
    void close(int waitMs = 500);

    bool isConnected() const { return peer && connected; }
    // ENet's smoothed round-trip time.
    std::uint32_t roundTripMs() const;
    // Since the last packet of the peer, ENet's own (acknowledgements, pings) included.
    double secondsSinceHeard() const;
    // The guest's connection attempts so far, and a new one after a disconnection.
    int connectAttempts() const { return attempts; }
    void connect();
    // The guest's: connects to another address from now on (a relay, when no direct way
    // opened).
    void retarget(const lobby::Endpoint& address);
    // A datagram no ENet reads to each address, from the link's own port: the router in front
    // of this side then lets packets from there in.
    void punch(const std::vector<lobby::Endpoint>& addresses);
    // "127.0.0.1:7717" once connected (the guest knows it from the start).
    const std::string& peerName() const { return name; }

private:
    EnetLink(_ENetHost* host, std::string name, std::uint32_t peerTimeoutMs);
    void accept(_ENetPeer* connecting);
    bool acceptSpectator(_ENetPeer* connecting, Polled& polled);
    _ENetPeer* spectator(int id) const;

    _ENetHost* enetHost;
    _ENetPeer* peer = nullptr;
    // The guest's: where the host is.
    std::optional<std::uint32_t> hostAddress;
    std::uint16_t hostPort = 0;
    std::uint32_t peerTimeoutMs;
    int spectatorCapacity = 0;
    std::vector<_ENetPeer*> spectators;
    bool watching = false;
    int attempts = 0;
    bool connected = false;
    std::string name;
    std::chrono::steady_clock::time_point lastHeard;
};
