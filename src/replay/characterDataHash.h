#pragma once

#include <cstdint>

class CharacterData;

// A 64-bit fingerprint of the character data by value: every animation's segments (durations,
// sprite names, box coordinates, hit properties, movement) and the move list. Two builds whose
// data would play a match differently give different values; addresses never count. Replays
// carry it, and a network session can compare it with its peer's before the match.
std::uint64_t characterDataHash(const CharacterData& data);
