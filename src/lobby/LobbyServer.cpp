#include "lobby/LobbyServer.h"

#include <chrono>
#include <mutex>
#include <stdexcept>
#include <vector>

#include <enet/enet.h>
#include <poll.h>

#include "lobby/LobbyCodec.h"
#include "lobby/PlayerName.h"
#include "lobby/RoomCode.h"

using namespace lobby;

namespace {

constexpr std::size_t channelCount = 1;
// A game's messages are small; a list of matches is the largest the lobby sends.
constexpr std::size_t largestPacket = 4096;
constexpr std::size_t waitingDataLimit = 16 * 1024;
// ENet lets a silent game go after this long (its pings keep a live one heard).
constexpr enet_uint32 silentMs = 10000;
constexpr int codeTries = 16;
constexpr int oldestLooked = 16;
// Batches of datagrams read before the rest of a round's work, so a flood cannot starve it.
constexpr int maxBatches = 64;

// ENet's intercept has no room for a pointer of ours: the server of each host, for the probes.
std::mutex serversLock;
std::unordered_map<ENetHost*, LobbyServer*> servers;

int ENET_CALLBACK intercept(ENetHost* host, ENetEvent*) {
    LobbyServer* server = nullptr;
    {
        const std::lock_guard<std::mutex> lock(serversLock);
        const auto found = servers.find(host);
        if (found != servers.end())
            server = found->second;
    }
    return server && server->takeProbe(host->receivedData, host->receivedDataLength,
                                       host->receivedAddress.host, host->receivedAddress.port)
               ? 1
               : 0;
}

std::string makeInstance(std::mt19937_64& random) {
    static const char digits[] = "0123456789abcdef";
    std::string id;
    for (int i = 0; i < 12; ++i)
        id += digits[random() % 16];
    return id;
}

} // namespace

LobbyServer::LobbyServer(const Setup& setup, std::unique_ptr<LobbyStore> store)
    : setup(setup), store(std::move(store)),
      relay(setup.bindIp, setup.relayFirst, setup.relayLast),
      rule(setup.pingLimitMs, setup.pingGraceSeconds), random(std::random_device{}()),
      started(std::chrono::steady_clock::now()) {
    if (enet_initialize() != 0)
        throw std::runtime_error("The network library could not be started");
    ENetAddress address{};
    address.host = setup.bindIp;
    address.port = setup.port;
    host = enet_host_create(&address, static_cast<std::size_t>(setup.maxClients), channelCount, 0, 0);
    if (!host) {
        enet_deinitialize();
        throw std::runtime_error("Cannot open the lobby's UDP port " + std::to_string(setup.port) +
                                 " (is it in use?)");
    }
    host->checksum = enet_crc32;
    host->duplicatePeers = static_cast<std::size_t>(setup.perAddress);
    host->maximumPacketSize = largestPacket;
    host->maximumWaitingData = waitingDataLimit;
    host->intercept = intercept;
    {
        const std::lock_guard<std::mutex> lock(serversLock);
        servers[host] = this;
    }
    instance = makeInstance(random);
    this->store->heartbeat(instance);
}

LobbyServer::~LobbyServer() {
    for (auto& [id, visitor] : visitors)
        gone(visitor);
    {
        const std::lock_guard<std::mutex> lock(serversLock);
        servers.erase(host);
    }
    enet_host_flush(host);
    enet_host_destroy(host);
    enet_deinitialize();
}

std::uint16_t LobbyServer::port() const { return host->address.port; }

double LobbyServer::now() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

LobbyServer::Figures LobbyServer::figures() const {
    Figures figures = counted;
    figures.clients = static_cast<int>(visitors.size());
    figures.relaysInUse = relay.inUse();
    return figures;
}

void LobbyServer::run(const std::atomic<bool>& stop) {
    while (!stop)
        serve(10);
}

void LobbyServer::serve(int waitMs) {
    std::vector<pollfd> fds{{static_cast<int>(host->socket), POLLIN, 0}};
    for (const int socket : relay.sockets())
        fds.push_back({socket, POLLIN, 0});
    poll(fds.data(), fds.size(), waitMs);
    // Each service sends to every peer with something queued, so it runs once per batch of up
    // to 256 datagrams read, and the batch's events are taken without it.
    ENetEvent event;
    for (int batch = 0; batch < maxBatches && enet_host_service(host, &event, 0) > 0; ++batch) {
        handleEvent(event);
        while (enet_host_check_events(host, &event) > 0)
            handleEvent(event);
    }
    relay.service(now());
    deliver();
    pairFromQueue();
    if (now() - lastSweep >= 1)
        sweep();
    enet_host_flush(host);
}

void LobbyServer::handleEvent(const ENetEvent& event) {
    if (event.type == ENET_EVENT_TYPE_CONNECT) {
        const std::uint32_t id = ++lastId;
        Visitor& visitor = visitors[id];
        visitor.id = id;
        visitor.peer = event.peer;
        visitor.arrived = now();
        event.peer->data = reinterpret_cast<void*>(static_cast<std::uintptr_t>(id));
        enet_peer_timeout(event.peer, 0, silentMs, silentMs);
        return;
    }
    const auto found = visitors.find(
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(event.peer->data)));
    if (event.type == ENET_EVENT_TYPE_RECEIVE) {
        if (found != visitors.end())
            receive(found->second, event.packet->data, event.packet->dataLength);
        enet_packet_destroy(event.packet);
        return;
    }
    if (event.type == ENET_EVENT_TYPE_DISCONNECT && found != visitors.end()) {
        gone(found->second);
        visitors.erase(found);
    }
}

void LobbyServer::receive(Visitor& visitor, const std::uint8_t* data, std::size_t size) {
    ++counted.messages;
    if (visitor.leaving)
        return;
    if (!visitor.gate.pass(now()))
        return refuse(visitor, Refusal::Flooding, true);
    std::optional<Message> message;
    if (size <= LobbyCodec::maxRequestBytes)
        message = LobbyCodec::decode(data, size);
    if (!message)
        return refuse(visitor, Refusal::Malformed, true);
    handle(visitor, *message);
}

void LobbyServer::handle(Visitor& visitor, const Message& message) {
    if (const auto* hello = std::get_if<Hello>(&message))
        return greet(visitor, *hello);
    if (visitor.place == Visitor::Place::Arrived)
        return refuse(visitor, Refusal::Order);
    if (std::holds_alternative<MakeRoom>(message))
        return makeRoom(visitor);
    if (const auto* join = std::get_if<JoinRoom>(&message))
        return joinRoom(visitor, *join);
    if (std::holds_alternative<QuickMatch>(message))
        return queue(visitor);
    if (std::holds_alternative<Leave>(message))
        return leave(visitor);
    if (std::holds_alternative<MatchOver>(message))
        return matchOver(visitor);
    if (std::holds_alternative<ListMatches>(message))
        return send(visitor, MatchList{store->matches(maxListedMatches)});
    // What only the lobby says.
    refuse(visitor, Refusal::Malformed, true);
}

void LobbyServer::greet(Visitor& visitor, const Hello& hello) {
    if (visitor.place != Visitor::Place::Arrived)
        return refuse(visitor, Refusal::Order);
    if (hello.version != lobbyVersion)
        return refuse(visitor, Refusal::Version, true);
    if (!PlayerName::valid(hello.name))
        return refuse(visitor, Refusal::WrongName);
    if (!store->claimName(hello.name, instance))
        return refuse(visitor, Refusal::NameTaken);
    visitor.name = hello.name;
    visitor.local = hello.local;
    visitor.place = Visitor::Place::Idle;
    do
        visitor.token = random();
    while (byToken.count(visitor.token) > 0);
    byToken[visitor.token] = visitor.id;
    send(visitor, Welcome{visitor.token});
}

bool LobbyServer::takeProbe(const std::uint8_t* data, std::size_t size, std::uint32_t ip,
                            std::uint16_t port) {
    const std::optional<std::uint64_t> token = LobbyCodec::readProbe(data, size);
    if (!token)
        return false;
    const auto holder = byToken.find(*token);
    if (holder == byToken.end())
        return true;
    Visitor& visitor = visitors.at(holder->second);
    const Endpoint outside{ip, port};
    if (visitor.outside == outside)
        return true;
    visitor.outside = outside;
    send(visitor, Seen{outside});
    return true;
}

bool LobbyServer::ready(Visitor& visitor) {
    if (!visitor.outside) {
        refuse(visitor, Refusal::NotSeen);
        return false;
    }
    if (visitor.place != Visitor::Place::Idle) {
        refuse(visitor, Refusal::Busy);
        return false;
    }
    return true;
}

PlayerCard LobbyServer::card(const Visitor& visitor) const {
    PlayerCard card;
    card.instance = instance;
    card.client = visitor.id;
    card.name = visitor.name;
    card.outside = visitor.outside.value_or(Endpoint{});
    card.local = visitor.local;
    card.pingMs = static_cast<std::uint16_t>(visitor.peer->roundTripTime);
    return card;
}

void LobbyServer::makeRoom(Visitor& visitor) {
    if (!ready(visitor))
        return;
    for (int attempt = 0; attempt < codeTries; ++attempt) {
        const std::string code = RoomCode::make(random);
        if (!store->putRoom(code, card(visitor)))
            continue;
        visitor.place = Visitor::Place::InRoom;
        visitor.room = code;
        visitor.roomMade = now();
        return send(visitor, RoomMade{code});
    }
    refuse(visitor, Refusal::NoRooms);
}

void LobbyServer::joinRoom(Visitor& visitor, const JoinRoom& join) {
    const std::optional<std::string> code = RoomCode::normalise(join.code);
    if (!code)
        return refuse(visitor, Refusal::WrongCode);
    if (!ready(visitor))
        return;
    const std::optional<PlayerCard> owner = store->takeRoom(*code);
    if (!owner)
        return refuse(visitor, Refusal::NoSuchRoom);
    visitor.place = Visitor::Place::Playing;
    pair(*owner, card(visitor));
}

void LobbyServer::queue(Visitor& visitor) {
    if (!ready(visitor))
        return;
    visitor.queued = QueuedPlayer{card(visitor), 0, {}};
    store->enqueue(visitor.queued);
    visitor.place = Visitor::Place::Queued;
}

void LobbyServer::leave(Visitor& visitor) {
    if (visitor.place == Visitor::Place::InRoom)
        store->dropRoom(visitor.room);
    if (visitor.place == Visitor::Place::Queued)
        store->dequeue(visitor.queued);
    if (visitor.place == Visitor::Place::InRoom || visitor.place == Visitor::Place::Queued)
        visitor.place = Visitor::Place::Idle;
}

void LobbyServer::matchOver(Visitor& visitor) {
    if (visitor.place != Visitor::Place::Playing)
        return;
    if (visitor.match != 0)
        store->dropMatch(visitor.match);
    visitor.place = Visitor::Place::Idle;
    visitor.match = 0;
}

// The match is listed, a relay pair kept for it here and each player told through the process
// that holds it (this one too goes through the store, in the same order).
void LobbyServer::pair(const PlayerCard& hostCard, const PlayerCard& guestCard) {
    ++counted.pairings;
    const std::uint32_t id = store->nextMatchId();
    const std::optional<Relay::Ports> ports =
        relay.open(hostCard.outside.ip, guestCard.outside.ip, now());
    store->addMatch(MatchListing{id, hostCard.name, guestCard.name, hostCard.outside}, instance);
    Paired toHost{true, id, guestCard.name, guestCard.outside, guestCard.local, {}, guestCard.pingMs};
    Paired toGuest{false, id, hostCard.name, hostCard.outside, hostCard.local, {}, hostCard.pingMs};
    if (ports) {
        toHost.relay = Endpoint{setup.publicIp, ports->host};
        toGuest.relay = Endpoint{setup.publicIp, ports->guest};
    }
    store->deliver(hostCard.instance, Delivery{hostCard.client, toHost});
    store->deliver(guestCard.instance, Delivery{guestCard.client, toGuest});
}

void LobbyServer::pairFromQueue() {
    for (;;) {
        const std::vector<QueuedPlayer> waiting = store->oldest(oldestLooked);
        const bool timed = waiting.size() >= 2 && rule.needsClock();
        const auto chosen = rule.choose(waiting, timed ? store->time() : 0);
        if (!chosen)
            return;
        const QueuedPlayer& first = waiting[chosen->first];
        const QueuedPlayer& second = waiting[chosen->second];
        if (store->takePair(first, second))
            pair(first.card, second.card);
    }
}

void LobbyServer::deliver() {
    for (const Delivery& delivery : store->collect(instance)) {
        const auto found = visitors.find(delivery.client);
        if (found == visitors.end())
            continue;
        Visitor& visitor = found->second;
        visitor.place = Visitor::Place::Playing;
        visitor.match = delivery.paired.match;
        send(visitor, delivery.paired);
    }
}

// Once a second: the greetings that never came, the rooms that expired, and this process's
// heartbeat for the others sharing the store.
void LobbyServer::sweep() {
    const double time = now();
    lastSweep = time;
    store->heartbeat(instance);
    for (auto& [id, visitor] : visitors) {
        if (visitor.place == Visitor::Place::Arrived && time - visitor.arrived > setup.helloSeconds)
            enet_peer_disconnect_later(visitor.peer, 0);
        if (visitor.place == Visitor::Place::InRoom && time - visitor.roomMade > setup.roomSeconds) {
            store->dropRoom(visitor.room);
            visitor.place = Visitor::Place::Idle;
            refuse(visitor, Refusal::NoSuchRoom);
        }
    }
}

// A game that left frees its name, its room, its place in the queue and its match's listing.
void LobbyServer::gone(Visitor& visitor) {
    leave(visitor);
    matchOver(visitor);
    if (!visitor.name.empty())
        store->releaseName(visitor.name);
    byToken.erase(visitor.token);
}

void LobbyServer::send(Visitor& visitor, const Message& message) {
    const std::vector<std::uint8_t> bytes = LobbyCodec::encode(message);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (enet_peer_send(visitor.peer, 0, packet) != 0)
        enet_packet_destroy(packet);
}

void LobbyServer::refuse(Visitor& visitor, Refusal reason, bool letGo) {
    send(visitor, Refused{reason});
    if (!letGo)
        return;
    visitor.leaving = true;
    enet_peer_disconnect_later(visitor.peer, 0);
}
