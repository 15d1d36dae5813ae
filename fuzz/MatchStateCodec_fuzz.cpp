// The saved match a late spectator receives (and its recording starts from): refused, or taken
// only when it is exactly what encoding it gives, and then checked against the character data
// as the spectator checks it before showing it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "anim/CharacterData.h"
#include "expect.h"
#include "match/MatchStateCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CharacterData characters(nullptr);
    const std::optional<MatchState> state = MatchStateCodec::decode(data, size);
    if (!state)
        return 0;
    expect(MatchStateCodec::encode(*state) == std::vector<std::uint8_t>(data, data + size),
           "a saved match taken is its encoding");
    MatchStateCodec::fits(*state, characters);
    return 0;
}
