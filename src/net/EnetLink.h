#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/Messages.h"

struct _ENetHost;
struct _ENetPeer;

// The network under an online match, on ENet: one host waiting for one guest, or one guest
// connecting to it. Channel 0 carries inputs unreliably and unsequenced, channel 1 the
// handshake, checksums and quit reliably. Only the one peer is listened to, and only packets
// that decode; everything else is dropped. Owned by the network play driver.
class EnetLink {
public:
    // Throws std::runtime_error with a one-line reason when the port or address is unusable.
    static std::unique_ptr<EnetLink> host(std::uint16_t port);
    static std::unique_ptr<EnetLink> join(const std::string& hostName, std::uint16_t port);
    ~EnetLink();

    EnetLink(const EnetLink&) = delete;
    EnetLink& operator=(const EnetLink&) = delete;

    struct Polled {
        std::vector<net::Message> messages;
        bool connected = false;
        bool disconnected = false;
        // Malformed packets on the reliable channel: the other side is broken, not the network.
        bool malformedReliable = false;
        int malformedUnreliable = 0;
    };
    // Everything that arrived, without waiting.
    Polled poll();

    void send(const net::Message& message, bool reliable);
    // Sends what is queued now rather than at the next poll.
    void flush();
    // Tells the peer the link is closing and lets ENet send what is queued.
    void close();

    bool isConnected() const { return peer && connected; }
    // ENet's smoothed round-trip time.
    std::uint32_t roundTripMs() const;
    double secondsSinceHeard() const;
    // "127.0.0.1:7717" once connected (the guest knows it from the start).
    const std::string& peerName() const { return name; }

private:
    EnetLink(_ENetHost* host, _ENetPeer* peer, std::string name);

    _ENetHost* enetHost;
    _ENetPeer* peer;
    bool connected = false;
    std::string name;
    std::chrono::steady_clock::time_point lastHeard;
};
