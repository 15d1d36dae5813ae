#include <atomic>
#include <csignal>
#include <exception>
#include <iostream>
#include <memory>

#include "lobby/LobbyOptions.h"
#include "lobby/LobbyServer.h"
#include "lobby/MemoryStore.h"
#include "lobby/RedisStore.h"

namespace {

std::atomic<bool> stopping{false};

void stop(int) { stopping = true; }

} // namespace

int main(int argc, char** argv) {
    LobbyOptions options;
    if (const std::optional<int> status = options.parse(argc, argv))
        return *status;
    std::signal(SIGINT, stop);
    std::signal(SIGTERM, stop);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        std::unique_ptr<LobbyStore> store;
        if (options.redisHost.empty()) {
            const auto started = std::chrono::steady_clock::now();
            store = std::make_unique<MemoryStore>(options.server.roomSeconds, [started] {
                return std::chrono::duration<double>(std::chrono::steady_clock::now() - started)
                    .count();
            });
        } else {
            store = std::make_unique<RedisStore>(options.redisHost, options.redisPort,
                                                 options.server.roomSeconds);
        }
        LobbyServer server(options.server, std::move(store));
        std::cout << "vorrak-lobby: listening on UDP port " << server.port()
                  << (options.redisHost.empty() ? ", state in memory"
                                                : ", state in Redis at " + options.redisHost + ":" +
                                                      std::to_string(options.redisPort))
                  << std::endl;
        server.run(stopping);
    } catch (const std::exception& e) {
        std::cerr << "vorrak-lobby: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
