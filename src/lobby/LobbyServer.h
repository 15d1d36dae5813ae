#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>

#include "lobby/LobbyMessages.h"
#include "lobby/LobbyStore.h"
#include "lobby/QuickMatchRule.h"
#include "lobby/Relay.h"
#include "lobby/Visitor.h"

struct _ENetHost;
struct _ENetEvent;

// The lobby: one ENet host on one UDP port where games greet with a name, make and join rooms,
// queue for a quick match and ask for the matches under way; its relay's ports beside it. Each
// connection is a Visitor here; the shared state (names, rooms, queue, matches, pairings for
// other processes) is the store's. Everything from outside is checked: a message that does not
// decode, comes too fast or out of order, a name or code of the wrong form, a greeting that
// never comes: refused, and where it cannot be the other side's honest mistake, the connection
// let go. Runs on one thread; several processes share one Redis.
class LobbyServer {
public:
    struct Setup {
        std::uint32_t bindIp = 0;
        std::uint16_t port = lobby::defaultLobbyPort;
        // At most this many games at once (ENet's limit is 4095), and from one address.
        int maxClients = 4000;
        int perAddress = 16;
        // The relay's ports (first 0: none) and the address players reach them at (0: the
        // lobby's own, as each reaches it).
        std::uint16_t relayFirst = 0;
        std::uint16_t relayLast = 0;
        std::uint32_t publicIp = 0;
        int roomSeconds = 600;
        // The quick match's ping rule (0: none) and how long it holds out.
        int pingLimitMs = 0;
        double pingGraceSeconds = 10;
        // A game that has not greeted after this long is let go.
        double helloSeconds = 5;
    };

    struct Figures {
        int clients = 0;
        long long messages = 0;
        long long pairings = 0;
        int relaysInUse = 0;
    };

    // Throws std::runtime_error with a one-line reason when the port cannot be opened.
    LobbyServer(const Setup& setup, std::unique_ptr<LobbyStore> store);
    ~LobbyServer();
    LobbyServer(const LobbyServer&) = delete;
    LobbyServer& operator=(const LobbyServer&) = delete;

    // Serves until stop is set, waking at least every few milliseconds to look at it.
    void run(const std::atomic<bool>& stop);
    // One round: waits up to waitMs for something to arrive, then serves all of it.
    void serve(int waitMs);

    std::uint16_t port() const;
    Figures figures() const;
    // The relay's and probes' intercept: a datagram at the lobby's port.
    bool takeProbe(const std::uint8_t* data, std::size_t size, std::uint32_t ip, std::uint16_t port);

private:
    double now() const;
    void handleEvent(const _ENetEvent& event);
    void receive(lobby::Visitor& visitor, const std::uint8_t* data, std::size_t size);
    void handle(lobby::Visitor& visitor, const lobby::Message& message);
    void greet(lobby::Visitor& visitor, const lobby::Hello& hello);
    void makeRoom(lobby::Visitor& visitor);
    void joinRoom(lobby::Visitor& visitor, const lobby::JoinRoom& join);
    void queue(lobby::Visitor& visitor);
    void leave(lobby::Visitor& visitor);
    void matchOver(lobby::Visitor& visitor);
    bool ready(lobby::Visitor& visitor);
    lobby::PlayerCard card(const lobby::Visitor& visitor) const;
    void pair(const lobby::PlayerCard& host, const lobby::PlayerCard& guest);
    void pairFromQueue();
    void deliver();
    void sweep();
    void gone(lobby::Visitor& visitor);
    void send(lobby::Visitor& visitor, const lobby::Message& message);
    void refuse(lobby::Visitor& visitor, lobby::Refusal reason, bool letGo = false);

    Setup setup;
    std::unique_ptr<LobbyStore> store;
    Relay relay;
    QuickMatchRule rule;
    _ENetHost* host = nullptr;
    std::string instance;
    std::mt19937_64 random;
    std::uint32_t lastId = 0;
    std::unordered_map<std::uint32_t, lobby::Visitor> visitors;
    std::unordered_map<std::uint64_t, std::uint32_t> byToken;
    std::chrono::steady_clock::time_point started;
    double lastSweep = 0;
    Figures counted;
};
