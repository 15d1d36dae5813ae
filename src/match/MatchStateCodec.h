#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "match/MatchState.h"

class CharacterData;

// A match state as bytes and back, little-endian, every field in a fixed order: how a match
// under way reaches a spectator who joins it, and how that spectator's recording starts. What is
// read is hostile: decode takes only bytes of the exact length whose every field is in range
// (counts too, so that none overflows as the match plays on), and fits() then checks the
// animation positions against the character data they index.
namespace MatchStateCodec {

// The layouts of the bytes: 1 before the rules had a version (such a state plays by the first
// versus rules), 2 with the rules' version and the fighters' fields of fair fights. The first
// holds only what a match of the first rules has.
constexpr int firstLayout = 1;
constexpr int latestLayout = 2;

std::vector<std::uint8_t> encode(const MatchState& state, int layout = latestLayout);
std::optional<MatchState> decode(const std::uint8_t* data, std::size_t size,
                                 int layout = latestLayout);
// Whether each fighter's animation position is a position of its action's animation in its own
// character data.
bool fits(const MatchState& state, const CharacterData& first, const CharacterData& second);

} // namespace MatchStateCodec
