#include "lobby/LobbyClient.h"

#include <stdexcept>

#include <enet/enet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "lobby/LobbyCodec.h"

namespace {

constexpr auto probeInterval = std::chrono::milliseconds(200);
// The lobby is given up after this long without an answer (ENet's own limit).
constexpr enet_uint32 lobbySilentMs = 5000;

// A UDP socket on a port of the system's choosing, and this machine's address on the way to
// the lobby (the one the other player can reach when both share a network).
int openMatchSocket(std::uint32_t lobbyIp, std::uint16_t lobbyPort, lobby::Endpoint& local) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0)
            close(fd);
        throw std::runtime_error("Cannot open a UDP socket for the match");
    }
    local.port = ntohs(address.sin_port);
    // A second socket, connected (no packet goes), shows the interface towards the lobby.
    const int probe = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = lobbyIp;
    to.sin_port = htons(lobbyPort);
    sockaddr_in mine{};
    length = sizeof mine;
    if (probe >= 0 && connect(probe, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&mine), &length) == 0)
        local.ip = mine.sin_addr.s_addr;
    if (probe >= 0)
        close(probe);
    return fd;
}

} // namespace

LobbyClient::LobbyClient(const std::string& hostName, std::uint16_t port, const std::string& name)
    : name(name) {
    if (enet_initialize() != 0)
        throw std::runtime_error("The network library could not be started");
    ENetAddress address{};
    address.port = port;
    if (enet_address_set_host(&address, hostName.c_str()) != 0) {
        enet_deinitialize();
        throw std::runtime_error("Cannot find the lobby '" + hostName + "'");
    }
    lobbyAt = {address.host, port};
    host = enet_host_create(nullptr, 1, 1, 0, 0);
    if (!host) {
        enet_deinitialize();
        throw std::runtime_error("Cannot open a UDP socket to reach the lobby");
    }
    host->checksum = enet_crc32;
    try {
        matchSocket = openMatchSocket(address.host, port, matchLocal);
    } catch (...) {
        enet_host_destroy(host);
        enet_deinitialize();
        throw;
    }
    peer = enet_host_connect(host, &address, 1, 0);
    if (peer)
        enet_peer_timeout(peer, 0, lobbySilentMs, lobbySilentMs);
    isLost = !peer;
}

LobbyClient::~LobbyClient() {
    closeMatchSocket();
    if (peer)
        enet_peer_reset(peer);
    enet_host_destroy(host);
    enet_deinitialize();
}

std::vector<lobby::Message> LobbyClient::poll(int waitMs) {
    std::vector<lobby::Message> messages;
    ENetEvent event;
    int wait = waitMs;
    while (messages.empty() && !isLost && enet_host_service(host, &event, wait) > 0) {
        wait = 0;
        if (event.type == ENET_EVENT_TYPE_CONNECT) {
            isConnected = true;
            send(lobby::Hello{lobby::lobbyVersion, name, matchLocal});
        } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
            isConnected = false;
            isLost = true;
            peer = nullptr;
        } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
            std::optional<lobby::Message> message =
                LobbyCodec::decode(event.packet->data, event.packet->dataLength);
            enet_packet_destroy(event.packet);
            if (!message)
                continue;
            if (const auto* welcome = std::get_if<lobby::Welcome>(&*message))
                token = welcome->token;
            if (const auto* seen = std::get_if<lobby::Seen>(&*message))
                seenOutside = seen->outside;
            messages.push_back(std::move(*message));
        }
    }
    probe();
    return messages;
}

void LobbyClient::probe() {
    if (!token || seenOutside || matchSocket < 0)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastProbe < probeInterval)
        return;
    lastProbe = now;
    const std::vector<std::uint8_t> datagram = LobbyCodec::probe(*token);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = lobbyAt.ip;
    to.sin_port = htons(lobbyAt.port);
    sendto(matchSocket, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to),
           sizeof to);
}

void LobbyClient::send(const lobby::Message& message) {
    if (!isConnected)
        return;
    const std::vector<std::uint8_t> bytes = LobbyCodec::encode(message);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (enet_peer_send(peer, 0, packet) != 0)
        enet_packet_destroy(packet);
    enet_host_flush(host);
}

std::uint32_t LobbyClient::roundTripMs() const { return isConnected ? peer->roundTripTime : 0; }

void LobbyClient::closeMatchSocket() {
    if (matchSocket >= 0)
        close(matchSocket);
    matchSocket = -1;
}

void LobbyClient::disconnect(int waitMs) {
    if (!isConnected)
        return;
    enet_peer_disconnect(peer, 0);
    ENetEvent event;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (std::chrono::steady_clock::now() < deadline && enet_host_service(host, &event, 20) >= 0) {
        if (event.type == ENET_EVENT_TYPE_RECEIVE)
            enet_packet_destroy(event.packet);
        if (event.type == ENET_EVENT_TYPE_DISCONNECT)
            break;
    }
    isConnected = false;
    peer = nullptr;
}
