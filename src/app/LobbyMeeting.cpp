#include "app/LobbyMeeting.h"

#include <chrono>
#include <iostream>
#include <stdexcept>

#include "lobby/LobbyClient.h"

namespace {

std::string lobbyName(const Options& options) {
    return options.lobbyHost + ":" + std::to_string(options.lobbyPort);
}

} // namespace

LobbyMeeting::LobbyMeeting(Options& options) : options(options) {}

// The match is over (or never came): the lobby unlists it, and the game leaves.
LobbyMeeting::~LobbyMeeting() {
    stop = true;
    if (keeper.joinable())
        keeper.join();
    if (!client)
        return;
    client->send(lobby::MatchOver{});
    client->disconnect(500);
}

std::optional<int> LobbyMeeting::meet() {
    client = std::make_unique<LobbyClient>(options.lobbyHost,
                                           static_cast<std::uint16_t>(options.lobbyPort),
                                           options.playerName);
    // Greeted, then seen from outside: only then can a match be made.
    while (!client->outside())
        next();
    std::cout << "Lobby: at " << lobbyName(options) << " as " << options.playerName << std::endl;
    if (options.lobbyWay == Options::LobbyWay::List || options.lobbyWay == Options::LobbyWay::Watch)
        return listOrWatch();
    playAs(waitForPartner());
    keeper = std::thread([this] { keep(); });
    return std::nullopt;
}

// The next message of the lobby; its going away or a refusal ends the visit.
lobby::Message LobbyMeeting::next() {
    for (;;) {
        std::vector<lobby::Message> messages = client->poll(50);
        if (client->lost())
            throw std::runtime_error(client->connected() || client->outside()
                                         ? "Lobby: the connection to " + lobbyName(options) + " was lost"
                                         : "Lobby: no answer from " + lobbyName(options));
        for (lobby::Message& message : messages) {
            if (const auto* refused = std::get_if<lobby::Refused>(&message))
                throw std::runtime_error(std::string("Lobby: ") + lobby::explain(refused->reason));
            return std::move(message);
        }
    }
}

lobby::Paired LobbyMeeting::waitForPartner() {
    if (options.lobbyWay == Options::LobbyWay::Room)
        client->send(lobby::MakeRoom{});
    else if (options.lobbyWay == Options::LobbyWay::Code)
        client->send(lobby::JoinRoom{options.roomCode});
    else
        client->send(lobby::QuickMatch{});
    if (options.lobbyWay == Options::LobbyWay::Quick)
        std::cout << "Lobby: waiting for a quick match" << std::endl;
    for (;;) {
        lobby::Message message = next();
        if (const auto* room = std::get_if<lobby::RoomMade>(&message))
            std::cout << "Room code: " << room->code << " (give it to the other player)"
                      << std::endl;
        if (const auto* paired = std::get_if<lobby::Paired>(&message))
            return *paired;
    }
}

// The host waits on the port the lobby saw and knocks on the guest's addresses; the guest
// connects from that port to the host's. Behind one router both use their own network's.
void LobbyMeeting::playAs(const lobby::Paired& paired) {
    const lobby::Endpoint outside = *client->outside();
    const bool sameRouter = paired.peerOutside.ip == outside.ip;
    Rendezvous& rendezvous = options.rendezvous;
    rendezvous.localPort = client->local().port;
    rendezvous.delayFromRoundTrip = !options.inputDelaySet;
    rendezvous.relay = paired.relay;
    if (rendezvous.relay.port != 0 && rendezvous.relay.ip == 0)
        rendezvous.relay.ip = client->lobbyAddress().ip;
    const lobby::Endpoint peer = sameRouter ? paired.peerLocal : paired.peerOutside;
    if (paired.host) {
        options.host = true;
        options.port = rendezvous.localPort;
        rendezvous.punch = {paired.peerOutside};
        if (sameRouter)
            rendezvous.punch.push_back(paired.peerLocal);
    } else {
        options.joinHost = lobby::addressText(peer.ip);
        options.port = peer.port;
    }
    client->closeMatchSocket();
    std::cout << "Lobby: paired with " << paired.peer << " (ping " << paired.pingMs
              << " ms), match " << paired.match << (paired.host ? ", hosting" : ", joining")
              << std::endl;
}

std::optional<int> LobbyMeeting::listOrWatch() {
    client->send(lobby::ListMatches{});
    lobby::Message message = next();
    while (!std::holds_alternative<lobby::MatchList>(message))
        message = next();
    const std::vector<lobby::MatchListing>& matches = std::get<lobby::MatchList>(message).matches;
    if (options.lobbyWay == Options::LobbyWay::List) {
        if (matches.empty())
            std::cout << "No matches under way" << std::endl;
        for (const lobby::MatchListing& match : matches)
            std::cout << "Match " << match.id << ": " << match.host << " vs " << match.guest
                      << std::endl;
        return 0;
    }
    for (const lobby::MatchListing& match : matches)
        if (match.id == options.watchMatch) {
            options.watchHost = lobby::addressText(match.address.ip);
            options.port = match.address.port;
            return std::nullopt;
        }
    throw std::runtime_error("Lobby: no match " + std::to_string(options.watchMatch) +
                             " is under way at " + lobbyName(options));
}

// Through the match: the lobby hears the game now and then and keeps its match listed. A lobby
// that went away is simply not heard from again.
void LobbyMeeting::keep() {
    while (!stop && !client->lost())
        client->poll(100);
}
