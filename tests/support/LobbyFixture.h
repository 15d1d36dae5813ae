#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <variant>

#include "lobby/LobbyClient.h"
#include "lobby/LobbyServer.h"
#include "lobby/MemoryStore.h"

// A lobby served on its own thread on a loopback port, and players that wait for what it says.
class ServedLobby {
public:
    explicit ServedLobby(std::unique_ptr<LobbyStore> store, LobbyServer::Setup setup = {}) {
        setup.bindIp = htonLoopback();
        setup.port = 0;
        server = std::make_unique<LobbyServer>(setup, std::move(store));
        thread = std::thread([this] { server->run(stop); });
    }
    ServedLobby() : ServedLobby(memoryStore()) {}
    ~ServedLobby() {
        stop = true;
        thread.join();
    }

    static std::unique_ptr<LobbyStore> memoryStore() {
        const auto started = std::chrono::steady_clock::now();
        return std::make_unique<MemoryStore>(600, [started] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        });
    }
    static std::uint32_t htonLoopback() { return 0x0100007f; }

    std::uint16_t port() const { return server->port(); }

    std::unique_ptr<LobbyServer> server;

private:
    std::atomic<bool> stop{false};
    std::thread thread;
};

// A game in the lobby: waits (a few seconds at most) for the message it expects.
struct LobbyPlayer {
    LobbyPlayer(std::uint16_t port, const std::string& name) : client("127.0.0.1", port, name) {}

    // The next message of type M, or nothing when another came first or none in time.
    template <typename M> std::optional<M> next() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline && !client.lost()) {
            for (const lobby::Message& message : client.poll(10)) {
                if (std::holds_alternative<lobby::Welcome>(message) ||
                    std::holds_alternative<lobby::Seen>(message))
                    if (!std::is_same_v<M, lobby::Welcome> && !std::is_same_v<M, lobby::Seen>)
                        continue;
                if (const auto* wanted = std::get_if<M>(&message))
                    return *wanted;
                return std::nullopt;
            }
        }
        return std::nullopt;
    }
    // Greeted and seen from outside: ready to ask for a room or a match.
    bool ready() { return next<lobby::Welcome>() && next<lobby::Seen>(); }
    std::optional<lobby::Refusal> refusal() {
        const std::optional<lobby::Refused> refused = next<lobby::Refused>();
        return refused ? std::optional(refused->reason) : std::nullopt;
    }

    LobbyClient client;
};
