#include "net/EnetLink.h"

#include <algorithm>
#include <stdexcept>

#include <enet/enet.h>
#include <enet/time.h>

#include "net/MessageCodec.h"

namespace {

constexpr std::size_t channelCount = 2;
constexpr enet_uint8 inputChannel = 0;
constexpr enet_uint8 reliableChannel = 1;
// The reason a host gives a guest it turns away, in ENet's disconnect data.
constexpr enet_uint32 busyReason = 0x42555359; // "BUSY"
// A connection attempt gives up after this long without an answer, and the next one starts:
// ENet doubles the wait between its resends of one attempt, which would leave a host started
// a little late unheard for many seconds.
constexpr enet_uint32 attemptMs = 2000;
// The first resend of an attempt comes after this long (ENet's default assumes 500 ms).
constexpr enet_uint32 firstResendMs = 250;

void initialiseEnet() {
    if (enet_initialize() != 0)
        throw std::runtime_error("The network library could not be started");
}

std::string nameOf(const ENetAddress& address) {
    char ip[64] = "";
    enet_address_get_host_ip(&address, ip, sizeof ip);
    return std::string(ip) + ":" + std::to_string(address.port);
}

} // namespace

std::unique_ptr<EnetLink> EnetLink::host(std::uint16_t port, std::uint32_t peerTimeoutMs) {
    initialiseEnet();
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    // Room for a guest's abandoned attempts and for guests to be told the host is taken.
    ENetHost* host = enet_host_create(&address, 8, channelCount, 0, 0);
    if (!host) {
        enet_deinitialize();
        throw std::runtime_error("Cannot wait for a player on UDP port " + std::to_string(port) +
                                 " (is it in use?)");
    }
    return std::unique_ptr<EnetLink>(new EnetLink(host, "", peerTimeoutMs));
}

std::unique_ptr<EnetLink> EnetLink::join(const std::string& hostName, std::uint16_t port,
                                         std::uint32_t peerTimeoutMs) {
    initialiseEnet();
    ENetAddress address{};
    address.port = port;
    if (enet_address_set_host(&address, hostName.c_str()) != 0) {
        enet_deinitialize();
        throw std::runtime_error("Cannot find the host '" + hostName + "'");
    }
    ENetHost* host = enet_host_create(nullptr, 1, channelCount, 0, 0);
    if (!host) {
        enet_deinitialize();
        throw std::runtime_error("Cannot open a UDP socket to reach " + hostName);
    }
    std::unique_ptr<EnetLink> link(new EnetLink(host, nameOf(address), peerTimeoutMs));
    link->hostAddress = address.host;
    link->hostPort = port;
    link->connect();
    return link;
}

EnetLink::EnetLink(ENetHost* host, std::string name, std::uint32_t peerTimeoutMs)
    : enetHost(host), peerTimeoutMs(peerTimeoutMs), name(std::move(name)),
      lastHeard(std::chrono::steady_clock::now()) {
    // Both sides must check: a packet without the checksum fails it.
    enetHost->checksum = enet_crc32;
}

void EnetLink::connect() {
    ENetAddress address{};
    address.host = *hostAddress;
    address.port = hostPort;
    peer = enet_host_connect(enetHost, &address, channelCount, 0);
    if (!peer)
        throw std::runtime_error("Cannot open a UDP socket to reach " + name);
    ++attempts;
    peer->roundTripTime = firstResendMs;
    enet_peer_timeout(peer, 0, attemptMs, attemptMs);
}

void EnetLink::accept(ENetPeer* connecting) {
    peer = connecting;
    connected = true;
    name = nameOf(peer->address);
    lastHeard = std::chrono::steady_clock::now();
    enet_peer_timeout(peer, 0, peerTimeoutMs, peerTimeoutMs);
}

EnetLink::~EnetLink() {
    close();
    enet_host_destroy(enetHost);
    enet_deinitialize();
}

EnetLink::Polled EnetLink::poll() {
    Polled polled;
    ENetEvent event;
    while (enet_host_service(enetHost, &event, 0) > 0) {
        // Only the host sees a connection it did not ask for; a guest's peer is known.
        if (event.type == ENET_EVENT_TYPE_CONNECT && (!peer || event.peer == peer) && !connected) {
            accept(event.peer);
            polled.connected = true;
            continue;
        }
        if (event.type == ENET_EVENT_TYPE_CONNECT) {
            enet_peer_disconnect(event.peer, busyReason);
            continue;
        }
        if (event.peer != peer) {
            if (event.type == ENET_EVENT_TYPE_RECEIVE)
                enet_packet_destroy(event.packet);
            continue;
        }
        if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
            peer = nullptr;
            if (hostAddress && event.data == busyReason)
                polled.refused = true;
            else if (connected || !hostAddress)
                polled.disconnected = true;
            else
                connect(); // the attempt went unanswered
            connected = false;
        } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
            lastHeard = std::chrono::steady_clock::now();
            std::optional<net::Message> message =
                MessageCodec::decode(event.packet->data, event.packet->dataLength);
            if (message)
                polled.messages.push_back(std::move(*message));
            else if (event.channelID == inputChannel)
                ++polled.malformedUnreliable;
            else
                polled.malformedReliable = true;
            enet_packet_destroy(event.packet);
        }
    }
    return polled;
}

void EnetLink::send(const net::Message& message, bool reliable) {
    if (!isConnected())
        return;
    const std::vector<std::uint8_t> bytes = MessageCodec::encode(message);
    ENetPacket* packet = enet_packet_create(
        bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (enet_peer_send(peer, reliable ? reliableChannel : inputChannel, packet) != 0)
        enet_packet_destroy(packet);
}

void EnetLink::flush() { enet_host_flush(enetHost); }

void EnetLink::disconnect() {
    if (isConnected())
        enet_peer_disconnect_later(peer, 0);
}

void EnetLink::close(int waitMs) {
    if (!peer)
        return;
    if (connected) {
        // What is queued (a quit) goes first; waiting a little for the other side's answer
        // lets ENet send it again if it was lost.
        enet_peer_disconnect_later(peer, 0);
        ENetEvent event;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        while (std::chrono::steady_clock::now() < deadline &&
               enet_host_service(enetHost, &event, 20) >= 0) {
            if (event.type == ENET_EVENT_TYPE_RECEIVE)
                enet_packet_destroy(event.packet);
            else if (event.type == ENET_EVENT_TYPE_DISCONNECT && event.peer == peer)
                break;
        }
    } else {
        enet_peer_reset(peer);
    }
    peer = nullptr;
    connected = false;
}

std::uint32_t EnetLink::roundTripMs() const { return isConnected() ? peer->roundTripTime : 0; }

double EnetLink::secondsSinceHeard() const {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - lastHeard).count();
    if (!isConnected() || peer->lastReceiveTime == 0)
        return seconds;
    return std::min(seconds, ENET_TIME_DIFFERENCE(enet_time_get(), peer->lastReceiveTime) / 1000.0);
}
