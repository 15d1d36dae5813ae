#include "lobby/LobbyMessages.h"

namespace lobby {

const char* explain(Refusal reason) {
    switch (reason) {
    case Refusal::Version: return "the lobby speaks another version";
    case Refusal::WrongName: return "a name is 2 to 16 printable characters, without spaces at its ends";
    case Refusal::NameTaken: return "someone in the lobby has that name";
    case Refusal::WrongCode: return "a room's code is 4 of the letters and digits the lobby gives";
    case Refusal::NoSuchRoom: return "no room has that code (it may have expired or been taken)";
    case Refusal::Busy: return "already in a room or waiting for a match";
    case Refusal::NotSeen: return "the lobby could not see this game's address yet";
    case Refusal::Flooding: return "too many messages: the lobby let this game go";
    case Refusal::Malformed: return "a message the lobby could not read: it let this game go";
    case Refusal::Order: return "a message out of order";
    case Refusal::NoRooms: return "the lobby has no room free";
    }
    return "refused";
}

} // namespace lobby
