// A stand-in for the other side of an online match, for the end-to-end tests: it joins a
// waiting game or waits for one, and says what a broken or different game would say. Or it is
// a bad network in front of a host: 150 ms each way with 40 ms of jitter, 10% lost, 5% twice,
// for a while; it prints the port to join on.
// A fighter it plays is one no game has ('zed').
//   net_peer join PORT version|fighter|junk     net_peer host PORT fighter
//   net_peer relay HOSTPORT SECONDS
#include <chrono>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include <enet/enet.h>

#include "net/MessageCodec.h"
#include "support/UdpRelay.h"

namespace {

void send(ENetPeer* peer, int channel, const std::vector<std::uint8_t>& bytes) {
    enet_peer_send(peer, static_cast<enet_uint8>(channel),
                   enet_packet_create(bytes.data(), bytes.size(),
                                      channel == 1 ? ENET_PACKET_FLAG_RELIABLE : 0));
}

// Services the link for a while, or until connected when asked; true when the other side
// hung up.
bool serviceFor(ENetHost* host, int milliseconds, ENetPeer** connected = nullptr) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    ENetEvent event;
    while (std::chrono::steady_clock::now() < end) {
        if (enet_host_service(host, &event, 10) <= 0)
            continue;
        if (event.type == ENET_EVENT_TYPE_CONNECT && connected) {
            *connected = event.peer;
            return false;
        }
        if (event.type == ENET_EVENT_TYPE_RECEIVE)
            enet_packet_destroy(event.packet);
        if (event.type == ENET_EVENT_TYPE_DISCONNECT)
            return true;
    }
    return false;
}

int relay(std::uint16_t hostPort, int seconds) {
    UdpRelay relay(hostPort, Faults{150, 40, 0.10, 0.05, 0, 0, 0}, hostPort);
    std::cout << relay.port() << std::endl;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        relay.pump();
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    const std::string role = argv[1], mode = argv[3];
    if (role == "relay")
        return relay(static_cast<std::uint16_t>(std::stoi(argv[2])), std::stoi(mode));
    if (enet_initialize() != 0)
        return 2;
    ENetAddress address{};
    address.port = static_cast<enet_uint16>(std::stoi(argv[2]));
    ENetPeer* peer = nullptr;
    ENetHost* host = nullptr;
    if (role == "join") {
        enet_address_set_host(&address, "127.0.0.1");
        host = enet_host_create(nullptr, 1, 2, 0, 0);
        host->checksum = enet_crc32;
        ENetPeer* connecting = enet_host_connect(host, &address, 2, 0);
        // The game opens its port a moment after its window appears.
        serviceFor(host, 5000, &peer);
        if (peer != connecting)
            return 1;
    } else {
        address.host = ENET_HOST_ANY;
        host = enet_host_create(&address, 1, 2, 0, 0);
        host->checksum = enet_crc32;
        for (int i = 0; i < 100 && !peer; ++i)
            serviceFor(host, 100, &peer);
        if (!peer)
            return 1;
    }
    const std::uint16_t version = mode == "version" ? 99 : net::protocolVersion;
    if (mode == "junk") {
        send(peer, 0, {2, 1, 2, 3});
        serviceFor(host, 300);
        send(peer, 1, {0x42, 0x42});
    } else {
        send(peer, 1, MessageCodec::encode(net::Hello{version, 0, role == "host" ? 7u : 0u}));
    }
    if (mode == "fighter") {
        send(peer, 1, MessageCodec::encode(net::Rules{MatchRules{}}));
        const Lineup::Entry stage = role == "host" ? Lineup::Entry{"dojo", 1} : Lineup::Entry{};
        send(peer, 1, MessageCodec::encode(net::Choice{{"zed", 1}, stage}));
    }
    const bool hungUp = serviceFor(host, 5000);
    enet_host_destroy(host);
    enet_deinitialize();
    std::cout << (hungUp ? "the game hung up\n" : "the game stayed\n");
    return 0;
}
