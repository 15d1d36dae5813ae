// A message from a game to the lobby, or the lobby's answer, or a probe: refused, or taken only
// when it is exactly what encoding its message gives. What the shared state keeps (a player's
// card, a match's listing) is read the same way.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "expect.h"
#include "lobby/LobbyCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> input(data, data + size);
    if (const auto message = LobbyCodec::decode(data, size))
        expect(LobbyCodec::encode(*message) == input, "a message taken is its encoding");
    if (const auto card = LobbyCodec::decodeCard(data, size))
        expect(LobbyCodec::encodeCard(*card) == input, "a card taken is its encoding");
    if (const auto listing = LobbyCodec::decodeListing(data, size))
        expect(LobbyCodec::encodeListing(*listing) == input, "a listing taken is its encoding");
    if (const auto token = LobbyCodec::readProbe(data, size))
        expect(LobbyCodec::probe(*token) == input, "a probe taken is its encoding");
    return 0;
}
