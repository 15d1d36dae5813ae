#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lobby/LobbyMessages.h"

struct _ENetHost;
struct _ENetPeer;

// A game's connection to the lobby, and beside it the socket the game will play its match on:
// once greeted, it sends the lobby probes from that socket until the lobby has seen its address
// from outside, the address the other player's router must let through. Before the match the
// socket is closed so the match's own link can take its port. Not thread safe: one thread polls
// it at a time. Owned by the game's lobby session (or a test, or the load benchmark).
class LobbyClient {
public:
    // Throws std::runtime_error with a one-line reason when the lobby's name does not resolve
    // or no socket can be opened.
    LobbyClient(const std::string& host, std::uint16_t port, const std::string& name);
    ~LobbyClient();
    LobbyClient(const LobbyClient&) = delete;
    LobbyClient& operator=(const LobbyClient&) = delete;

    // Serves the connection for up to waitMs (returning at the first message): what the lobby
    // said. Greets once connected and probes until seen.
    std::vector<lobby::Message> poll(int waitMs);
    void send(const lobby::Message& message);

    bool connected() const { return isConnected; }
    // The lobby went away, or never answered (ENet gives up after a few seconds).
    bool lost() const { return isLost; }
    // The lobby has seen the match socket from outside (after the Seen message).
    std::optional<lobby::Endpoint> outside() const { return seenOutside; }
    // The match socket's address here, and the lobby's.
    lobby::Endpoint local() const { return matchLocal; }
    lobby::Endpoint lobbyAddress() const { return lobbyAt; }
    std::uint32_t roundTripMs() const;
    // Frees the match socket's port for the match's link.
    void closeMatchSocket();
    // Tells the lobby and waits up to waitMs for it to hear.
    void disconnect(int waitMs);

private:
    void probe();

    _ENetHost* host = nullptr;
    _ENetPeer* peer = nullptr;
    int matchSocket = -1;
    std::string name;
    lobby::Endpoint lobbyAt;
    lobby::Endpoint matchLocal;
    bool isConnected = false;
    bool isLost = false;
    std::optional<std::uint64_t> token;
    std::optional<lobby::Endpoint> seenOutside;
    std::chrono::steady_clock::time_point lastProbe;
};
