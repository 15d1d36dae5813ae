// The lobby under load, on this machine: simulated games (one ENet host holds up to 4,000 of
// them, each a connection of its own) connect to the real vorrak-lobby, greet, probe and wait to
// be seen; then queue for quick matches at a steady rate, each one paired ending its match at
// once and queueing again; then make rooms that others join by code; then leave. Prints the
// games held, the messages a second the lobby served, the time from queueing to paired (median
// and 99th percentile), rooms joined a second and the lobby's memory per game, in memory or, with
// --processes 2, on two lobby processes sharing one Redis (started here on the loopback).
//
//   build/lobby_bench [--clients N] [--processes 1|2] [--seconds S] [--rate PAIRINGS_PER_S]
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <enet/enet.h>
#include <sys/wait.h>
#include <unistd.h>

#include "lobby/LobbyCodec.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace lobby;

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

pid_t spawn(const std::vector<std::string>& words) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& word : words)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        std::freopen("/dev/null", "w", stdout);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

long residentKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

struct Game {
    enum class State { Connecting, Greeting, Probing, Idle, Queued, InRoom, Joining } state;
    ENetPeer* peer = nullptr;
    std::uint64_t token = 0;
    Clock::time_point asked;
    Clock::time_point probed;
};

// The games of one ENet host, all at one lobby process.
class Swarm {
public:
    Swarm(std::uint16_t lobbyPort, int count) : games(static_cast<std::size_t>(count)) {
        lobbyAt.host = 0x0100007f;
        lobbyAt.port = lobbyPort;
        host = enet_host_create(nullptr, static_cast<std::size_t>(count), 1, 0, 0);
        host->checksum = enet_crc32;
    }
    ~Swarm() { enet_host_destroy(host); }

    void connectSome(int most) {
        for (; connecting < games.size() && most-- > 0; ++connecting) {
            Game& game = games[connecting];
            game.state = Game::State::Connecting;
            game.peer = enet_host_connect(host, &lobbyAt, 1, connecting);
            game.peer->data = reinterpret_cast<void*>(connecting);
        }
    }

    void send(Game& game, const Message& message) {
        ++sent;
        const std::vector<std::uint8_t> bytes = LobbyCodec::encode(message);
        enet_peer_send(game.peer, 0,
                       enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
    }

    void probe(Game& game) {
        const std::vector<std::uint8_t> datagram = LobbyCodec::probe(game.token);
        ENetBuffer buffer{const_cast<std::uint8_t*>(datagram.data()), datagram.size()};
        enet_socket_send(host->socket, &lobbyAt, &buffer, 1);
        game.probed = Clock::now();
    }

    // Everything that arrived; false when nothing did.
    bool pump() {
        ENetEvent event;
        bool any = false;
        while (enet_host_service(host, &event, 0) > 0) {
            do
                take(event);
            while (enet_host_check_events(host, &event) > 0);
            any = true;
        }
        // A probe lost on the way is sent again.
        if (Clock::now() - lastResend > std::chrono::milliseconds(500)) {
            lastResend = Clock::now();
            for (Game& game : games)
                if (game.state == Game::State::Probing &&
                    Clock::now() - game.probed > std::chrono::milliseconds(500))
                    probe(game);
        }
        enet_host_flush(host);
        return any;
    }

    void take(ENetEvent& event) {
        Game& game = games[reinterpret_cast<std::size_t>(event.peer->data)];
        if (event.type == ENET_EVENT_TYPE_CONNECT) {
            game.state = Game::State::Greeting;
            send(game, Hello{lobbyVersion, "g" + std::to_string(id) + "-" +
                                               std::to_string(&game - games.data()),
                             {}});
        } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
            ++disconnected;
        } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
            ++received;
            if (auto message = LobbyCodec::decode(event.packet->data, event.packet->dataLength))
                handle(game, *message);
            enet_packet_destroy(event.packet);
        }
    }

    void handle(Game& game, const Message& message) {
        if (const auto* welcome = std::get_if<Welcome>(&message)) {
            game.token = welcome->token;
            game.state = Game::State::Probing;
            probe(game);
        } else if (std::holds_alternative<Seen>(message)) {
            game.state = Game::State::Idle;
            ++ready;
        } else if (const auto* room = std::get_if<RoomMade>(&message)) {
            codes.push_back(room->code);
        } else if (std::holds_alternative<Paired>(message)) {
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - game.asked).count();
            (game.state == Game::State::Queued ? queueMs : roomMs).push_back(ms);
            game.state = Game::State::Idle;
            send(game, MatchOver{});
        } else if (std::holds_alternative<Refused>(message)) {
            ++refused;
            game.state = Game::State::Idle;
        }
    }

    Game* idle() {
        for (std::size_t tried = 0; tried < games.size(); ++tried) {
            Game& game = games[next++ % games.size()];
            if (game.state == Game::State::Idle)
                return &game;
        }
        return nullptr;
    }

    ENetHost* host;
    ENetAddress lobbyAt{};
    std::vector<Game> games;
    std::size_t connecting = 0;
    std::size_t next = 0;
    Clock::time_point lastResend = Clock::now();
    int id = 0;
    long long sent = 0;
    long long received = 0;
    int ready = 0;
    int refused = 0;
    int disconnected = 0;
    std::vector<double> queueMs;
    std::vector<double> roomMs;
    std::vector<std::string> codes;
};

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * values.size()))];
}

template <typename Done> bool pumpUntil(std::vector<Swarm*>& swarms, double seconds, Done done) {
    const Clock::time_point start = Clock::now();
    while (!done()) {
        if (since(start) > seconds)
            return false;
        bool any = false;
        for (Swarm* swarm : swarms)
            any |= swarm->pump();
        if (!any)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int clients = 4000;
    int processes = 1;
    double seconds = 10;
    double rate = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--clients") clients = std::stoi(argv[i + 1]);
        else if (option == "--processes") processes = std::clamp(std::stoi(argv[i + 1]), 1, 2);
        else if (option == "--seconds") seconds = std::stod(argv[i + 1]);
        else if (option == "--rate") rate = std::stod(argv[i + 1]);
    }
    char self[4096] = "";
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string folder = std::string(self, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
    const std::string lobbyProgram = folder.substr(0, folder.rfind('/')) + "/vorrak-lobby";
    const int basePort = 30000 + static_cast<int>(getpid() % 20000);

    std::vector<pid_t> servers;
    pid_t redis = -1;
    if (processes == 2) {
        redis = spawn({"/usr/bin/redis-server", "--port", std::to_string(basePort + 10), "--bind",
                       "127.0.0.1", "--save", "", "--appendonly", "no", "--dir", "/tmp"});
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    for (int p = 0; p < processes; ++p) {
        std::vector<std::string> words{lobbyProgram, "--bind", "127.0.0.1", "--port",
                                       std::to_string(basePort + p), "--per-address", "4095",
                                       "--max-clients", "4095"};
        if (redis > 0) {
            words.push_back("--redis");
            words.push_back("127.0.0.1:" + std::to_string(basePort + 10));
        }
        servers.push_back(spawn(words));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    long baseline = 0;
    for (const pid_t server : servers)
        baseline += residentKib(server);

    enet_initialize();
    std::vector<std::unique_ptr<Swarm>> owned;
    std::vector<Swarm*> swarms;
    for (int p = 0; p < processes; ++p) {
        owned.push_back(std::make_unique<Swarm>(basePort + p, clients / processes));
        owned.back()->id = p;
        swarms.push_back(owned.back().get());
    }
    const auto total = [&](auto field) {
        long long sum = 0;
        for (Swarm* swarm : swarms)
            sum += field(*swarm);
        return sum;
    };

    // Joining, 200 at a time.
    Clock::time_point start = Clock::now();
    const bool joined = pumpUntil(swarms, 120, [&] {
        for (Swarm* swarm : swarms)
            if (swarm->connecting - static_cast<std::size_t>(swarm->ready) < 200)
                swarm->connectSome(200);
        return total([](Swarm& s) { return s.ready; }) >= clients;
    });
    const double joinSeconds = since(start);
    const long long held = total([](Swarm& s) { return s.ready; });
    long rss = 0;
    for (const pid_t server : servers)
        rss += residentKib(server);
    std::printf("lobby, %d process%s%s: %lld of %d games greeted and seen in %.2f s (%.0f joins/s)%s\n",
                processes, processes == 1 ? " in memory" : "es on one Redis", "", held, clients,
                joinSeconds, held / joinSeconds, joined ? "" : " (gave up waiting)");
    std::printf("  memory: %.1f MiB held for %lld games, %.2f KiB a game\n", (rss - baseline) / 1024.0,
                held, held > 0 ? static_cast<double>(rss - baseline) / held : 0);

    // Quick matches at the rate asked, for the time asked: each pairing is two requests.
    const long long sentBefore = total([](Swarm& s) { return s.sent; });
    const long long receivedBefore = total([](Swarm& s) { return s.received; });
    start = Clock::now();
    long long asked = 0;
    pumpUntil(swarms, seconds, [&] {
        const long long due = static_cast<long long>(since(start) * rate * 2);
        for (; asked < due; ++asked) {
            Swarm* swarm = swarms[static_cast<std::size_t>(asked) % swarms.size()];
            Game* game = swarm->idle();
            if (!game)
                break;
            game->state = Game::State::Queued;
            game->asked = Clock::now();
            swarm->send(*game, QuickMatch{});
        }
        return false;
    });
    const double queueSeconds = since(start);
    std::vector<double> queueMs;
    for (Swarm* swarm : swarms)
        queueMs.insert(queueMs.end(), swarm->queueMs.begin(), swarm->queueMs.end());
    const long long messages = total([](Swarm& s) { return s.sent; }) - sentBefore +
                               total([](Swarm& s) { return s.received; }) - receivedBefore;
    std::printf("  quick match, asked %.0f pairings/s: %.0f pairings/s made; queue to paired median "
                "%.2f ms, p99 %.2f ms; %.0f messages/s served (in and out)\n",
                rate, queueMs.size() / 2.0 / queueSeconds, percentile(queueMs, 0.5),
                percentile(queueMs, 0.99), messages / queueSeconds);
    pumpUntil(swarms, 3, [&] {
        for (Swarm* swarm : swarms)
            for (const Game& game : swarm->games)
                if (game.state == Game::State::Queued)
                    return false;
        return true;
    });

    // Rooms: a quarter of the games make one, as many others join each by its code.
    const int rooms = static_cast<int>(held / 4);
    for (Swarm* swarm : swarms)
        swarm->codes.clear();
    start = Clock::now();
    for (int r = 0; r < rooms; ++r) {
        Swarm* swarm = swarms[static_cast<std::size_t>(r) % swarms.size()];
        if (Game* maker = swarm->idle()) {
            maker->state = Game::State::InRoom;
            maker->asked = Clock::now();
            swarm->send(*maker, MakeRoom{});
        }
    }
    // Each swarm's codes are joined from the next swarm (the other process, where there are two).
    std::vector<std::size_t> codesJoined(swarms.size(), 0);
    pumpUntil(swarms, 30, [&] {
        for (std::size_t s = 0; s < swarms.size(); ++s) {
            Swarm* joiners = swarms[(s + 1) % swarms.size()];
            for (; codesJoined[s] < swarms[s]->codes.size(); ++codesJoined[s]) {
                Game* guest = joiners->idle();
                if (!guest)
                    return true;
                guest->state = Game::State::Joining;
                guest->asked = Clock::now();
                joiners->send(*guest, JoinRoom{swarms[s]->codes[codesJoined[s]]});
            }
        }
        std::size_t paired = 0;
        for (Swarm* swarm : swarms)
            paired += swarm->roomMs.size();
        return paired >= 2 * static_cast<std::size_t>(rooms);
    });
    const double roomSeconds = since(start);
    std::vector<double> roomMs;
    for (Swarm* swarm : swarms)
        roomMs.insert(roomMs.end(), swarm->roomMs.begin(), swarm->roomMs.end());
    std::printf("  rooms: %d made and joined by code in %.3f s (%.0f a second); made to paired "
                "median %.2f ms, p99 %.2f ms; %lld refusals in all\n",
                static_cast<int>(roomMs.size() / 2), roomSeconds, roomMs.size() / 2 / roomSeconds,
                percentile(roomMs, 0.5), percentile(roomMs, 0.99),
                total([](Swarm& s) { return s.refused; }));

    // Leaving.
    start = Clock::now();
    for (Swarm* swarm : swarms)
        for (Game& game : swarm->games)
            if (game.peer)
                enet_peer_disconnect(game.peer, 0);
    pumpUntil(swarms, 30, [&] { return total([](Swarm& s) { return s.disconnected; }) >= held; });
    std::printf("  leaving: %lld games gone in %.2f s\n", total([](Swarm& s) { return s.disconnected; }),
                since(start));

    owned.clear();
    enet_deinitialize();
    for (const pid_t server : servers)
        kill(server, SIGTERM);
    for (const pid_t server : servers)
        waitpid(server, nullptr, 0);
    if (redis > 0) {
        kill(redis, SIGTERM);
        waitpid(redis, nullptr, 0);
    }
    return joined ? 0 : 1;
}
