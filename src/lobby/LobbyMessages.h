#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "lobby/Endpoint.h"

// What a game and the lobby say to each other, on ENet's reliable channel. A game greets with
// its player's name, then sends a probe (a bare datagram, not a message) from the socket it
// will play the match on, so the lobby sees that socket's address from outside; then it makes a
// room, joins one by its code, queues for a quick match or asks for the matches under way. Once
// paired, both players learn each other's addresses and where the relay waits for them.
namespace lobby {

// 1: names, rooms, quick match, the list of matches, probes and the relay.
constexpr std::uint16_t lobbyVersion = 1;
// The lobby's UDP port unless told otherwise.
constexpr std::uint16_t defaultLobbyPort = 7800;
// The most matches one list carries.
constexpr int maxListedMatches = 16;

// A game's first message: its protocol version, its player's name and the address of its
// match socket as the game sees it (its own network's).
struct Hello {
    std::uint16_t version = lobbyVersion;
    std::string name;
    Endpoint local;
};

// The lobby took the name: probes from the match socket carry this token.
struct Welcome {
    std::uint64_t token = 0;
};

// A probe arrived: the match socket's address as the lobby sees it.
struct Seen {
    Endpoint outside;
};

struct MakeRoom {};
struct RoomMade {
    std::string code;
};
struct JoinRoom {
    std::string code;
};
struct QuickMatch {};
// Out of the room or the queue (a room made is freed).
struct Leave {};
struct ListMatches {};

// One match under way: its players and where its host plays it, for spectators.
struct MatchListing {
    std::uint32_t id = 0;
    std::string host;
    std::string guest;
    Endpoint address;
};

struct MatchList {
    std::vector<MatchListing> matches;
};

// Two players meet: each learns the other's name and addresses. The host (the room's maker,
// or the one who waited longer) waits for the guest and sends to it at once to open its own
// router; the guest connects. relay is where this side goes when no direct way opens (ip 0:
// the lobby's own address, port 0: no relay free). pingMs: the other's round trip to its
// lobby.
struct Paired {
    bool host = false;
    std::uint32_t match = 0;
    std::string peer;
    Endpoint peerOutside;
    Endpoint peerLocal;
    Endpoint relay;
    std::uint16_t pingMs = 0;
};

// The match of this side is over: no longer listed.
struct MatchOver {};

enum class Refusal : std::uint8_t {
    Version = 0,    // another protocol version
    WrongName = 1,    // not a name of the allowed form
    NameTaken = 2,  // someone connected has it
    WrongCode = 3,    // not a code of the allowed form
    NoSuchRoom = 4, // no room has it (or it expired, or someone joined first)
    Busy = 5,       // in a room or the queue already
    NotSeen = 6,    // no probe arrived from the match socket yet
    Flooding = 7,   // too many messages too fast: disconnected
    Malformed = 8,  // a message that does not decode: disconnected
    Order = 9,      // a message before the greeting, or a second greeting
    NoRooms = 10,   // no free code or the lobby holds its most rooms
};
constexpr std::uint8_t refusalCount = 11;

struct Refused {
    Refusal reason = Refusal::Malformed;
};

using Message = std::variant<Hello, Welcome, Seen, MakeRoom, RoomMade, JoinRoom, QuickMatch,
                             Leave, ListMatches, MatchList, Paired, MatchOver, Refused>;

// A refusal in words, for the player.
const char* explain(Refusal reason);

} // namespace lobby
