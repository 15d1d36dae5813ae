#include "net/EnetLink.h"

#include <algorithm>

#include <enet/enet.h>
#include <enet/time.h>

#include "net/MessageCodec.h"
#include "net/OnlineError.h"

namespace {

constexpr std::size_t channelCount = 2;
constexpr enet_uint8 inputChannel = 0;
constexpr enet_uint8 reliableChannel = 1;
// The reason a host gives a guest it turns away, in ENet's disconnect data.
constexpr enet_uint32 busyReason = 0x42555359; // "BUSY"
// A spectator's connect data, and what a host says to one it has no room for or lets go.
constexpr enet_uint32 watchRequest = 0x57415443; // "WATC"
constexpr enet_uint32 fullReason = 0x46554c4c;   // "FULL"
constexpr enet_uint32 behindReason = 0x4c414753; // "LAGS"
// Spectators get up to this long to acknowledge the match's end: through a lossy link it may
// be sent several times, each resend waiting twice as long as the one before. A spectator not
// heard from (no report, no acknowledgement) for spectatorSilentMs is gone and not waited for.
constexpr int spectatorGoodbyeMs = 5000;
constexpr enet_uint32 spectatorSilentMs = 1500;
// A connection attempt gives up after this long without an answer, and the next one starts:
// ENet doubles the wait between its resends of one attempt, which would leave a host started
// a little late unheard for many seconds.
constexpr enet_uint32 attemptMs = 2000;
// The first resend of an attempt comes after this long (ENet's default assumes 500 ms).
constexpr enet_uint32 firstResendMs = 250;

void initialiseEnet() {
    if (enet_initialize() != 0)
        throw OnlineError("The network library could not be started");
}

std::string nameOf(const ENetAddress& address) {
    char ip[64] = "";
    enet_address_get_host_ip(&address, ip, sizeof ip);
    return std::string(ip) + ":" + std::to_string(address.port);
}

} // namespace

std::unique_ptr<EnetLink> EnetLink::host(std::uint16_t port, std::uint32_t peerTimeoutMs,
                                         int spectators) {
    initialiseEnet();
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    // Room for a guest's abandoned attempts and for guests and spectators to be told the host
    // is taken.
    ENetHost* host =
        enet_host_create(&address, 8 + static_cast<std::size_t>(spectators), channelCount, 0, 0);
    if (!host) {
        enet_deinitialize();
        throw OnlineError("Cannot wait for a player on UDP port " + std::to_string(port) +
                                 " (is it in use?)");
    }
    std::unique_ptr<EnetLink> link(new EnetLink(host, "", peerTimeoutMs));
    link->spectatorCapacity = spectators;
    return link;
}

std::unique_ptr<EnetLink> EnetLink::join(const std::string& hostName, std::uint16_t port,
                                         std::uint32_t peerTimeoutMs, bool watch,
                                         std::uint16_t localPort) {
    initialiseEnet();
    ENetAddress address{};
    address.port = port;
    if (enet_address_set_host(&address, hostName.c_str()) != 0) {
        enet_deinitialize();
        throw OnlineError("Cannot find the host '" + hostName + "'");
    }
    ENetAddress local{};
    local.host = ENET_HOST_ANY;
    local.port = localPort;
    ENetHost* host = enet_host_create(localPort ? &local : nullptr, 1, channelCount, 0, 0);
    if (!host) {
        enet_deinitialize();
        throw OnlineError("Cannot open a UDP socket to reach " + hostName);
    }
    std::unique_ptr<EnetLink> link(new EnetLink(host, nameOf(address), peerTimeoutMs));
    link->hostAddress = address.host;
    link->hostPort = port;
    link->watching = watch;
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
    peer = enet_host_connect(enetHost, &address, channelCount, watching ? watchRequest : 0);
    if (!peer)
        throw OnlineError("Cannot open a UDP socket to reach " + name);
    ++attempts;
    peer->roundTripTime = firstResendMs;
    enet_peer_timeout(peer, 0, attemptMs, attemptMs);
}

void EnetLink::retarget(const lobby::Endpoint& address) {
    if (peer)
        enet_peer_reset(peer);
    peer = nullptr;
    hostAddress = address.ip;
    hostPort = address.port;
    ENetAddress named{address.ip, address.port};
    name = nameOf(named);
    connect();
}

void EnetLink::punch(const std::vector<lobby::Endpoint>& addresses) {
    static const std::uint8_t knock[] = {'V', 'R', 'K', 'H'};
    ENetBuffer buffer{const_cast<std::uint8_t*>(knock), sizeof knock};
    for (const lobby::Endpoint& address : addresses) {
        const ENetAddress to{address.ip, address.port};
        enet_socket_send(enetHost->socket, &to, &buffer, 1);
    }
}

void EnetLink::accept(ENetPeer* connecting) {
    peer = connecting;
    connected = true;
    name = nameOf(peer->address);
    lastHeard = std::chrono::steady_clock::now();
    enet_peer_timeout(peer, 0, peerTimeoutMs, peerTimeoutMs);
}

// The host's: false when the connection is no spectator's.
bool EnetLink::acceptSpectator(ENetPeer* connecting, Polled& polled) {
    if (hostAddress || connecting->eventData != watchRequest)
        return false;
    if (static_cast<int>(spectators.size()) >= spectatorCapacity) {
        enet_peer_disconnect(connecting, fullReason);
        return true;
    }
    spectators.push_back(connecting);
    enet_peer_timeout(connecting, 0, peerTimeoutMs, peerTimeoutMs);
    polled.spectatorsJoined.push_back(connecting->incomingPeerID);
    return true;
}

ENetPeer* EnetLink::spectator(int id) const {
    for (ENetPeer* watcher : spectators)
        if (watcher->incomingPeerID == id)
            return watcher;
    return nullptr;
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
        if (event.type == ENET_EVENT_TYPE_CONNECT && acceptSpectator(event.peer, polled))
            continue;
        if (const auto watcher = std::find(spectators.begin(), spectators.end(), event.peer);
            watcher != spectators.end()) {
            const int id = event.peer->incomingPeerID;
            if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
                spectators.erase(watcher);
                polled.spectatorsLeft.push_back(id);
            } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                // A spectator's broken packet is its own loss: it is not listened to.
                if (auto message =
                        MessageCodec::decode(event.packet->data, event.packet->dataLength))
                    polled.fromSpectators.emplace_back(id, std::move(*message));
                enet_packet_destroy(event.packet);
            }
            continue;
        }
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
            else if (hostAddress && event.data == fullReason)
                polled.noSpectators = true;
            else if (hostAddress && connected && event.data == behindReason)
                polled.leftBehind = true;
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

void EnetLink::sendTo(int spectatorId, const net::Message& message) {
    ENetPeer* watcher = spectator(spectatorId);
    if (!watcher)
        return;
    const std::vector<std::uint8_t> bytes = MessageCodec::encode(message);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (enet_peer_send(watcher, reliableChannel, packet) != 0)
        enet_packet_destroy(packet);
}

void EnetLink::dropSpectator(int spectatorId) {
    ENetPeer* watcher = spectator(spectatorId);
    if (!watcher)
        return;
    enet_peer_disconnect(watcher, behindReason);
    spectators.erase(std::find(spectators.begin(), spectators.end(), watcher));
}

void EnetLink::flush() { enet_host_flush(enetHost); }

bool EnetLink::delivered() const {
    return isConnected() && enet_list_empty(&peer->sentReliableCommands) &&
           enet_list_empty(&peer->outgoingCommands);
}

// What is queued (a quit, the match's end for the spectators) goes first; waiting a little for
// the other side's answer lets ENet send it again if it was lost. Spectators still connected at
// their deadline are let go.
void EnetLink::close(int waitMs) {
    for (ENetPeer* watcher : spectators)
        enet_peer_disconnect_later(watcher, 0);
    if (peer && connected) {
        enet_peer_disconnect_later(peer, 0);
    } else if (peer) {
        enet_peer_reset(peer);
        peer = nullptr;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point peerDeadline = Clock::now() + std::chrono::milliseconds(waitMs);
    const Clock::time_point spectatorDeadline =
        Clock::now() + std::chrono::milliseconds(std::max(waitMs, spectatorGoodbyeMs));
    const auto spectatorListening = [this] {
        return std::any_of(spectators.begin(), spectators.end(), [](const ENetPeer* watcher) {
            return ENET_TIME_DIFFERENCE(enet_time_get(), watcher->lastReceiveTime) <
                   spectatorSilentMs;
        });
    };
    const auto waiting = [&] {
        const Clock::time_point now = Clock::now();
        return (peer && now < peerDeadline) || (spectatorListening() && now < spectatorDeadline);
    };
    ENetEvent event;
    while (waiting() && enet_host_service(enetHost, &event, 20) >= 0) {
        if (event.type == ENET_EVENT_TYPE_RECEIVE)
            enet_packet_destroy(event.packet);
        else if (event.type == ENET_EVENT_TYPE_DISCONNECT && event.peer == peer)
            peer = nullptr;
        else if (event.type == ENET_EVENT_TYPE_DISCONNECT)
            spectators.erase(std::remove(spectators.begin(), spectators.end(), event.peer),
                             spectators.end());
    }
    spectators.clear();
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
