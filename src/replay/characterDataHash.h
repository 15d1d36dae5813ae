#pragma once

#include <cstdint>

class CharacterData;

// A 64-bit fingerprint of the character data by value: every animation's segments (durations,
// sprite names, box coordinates, hit properties, movement) and the move list; addresses never
// count. Recordings and online play carry it and are checked against it; the default
// fighter's file gives the value it had before fighters were files.
std::uint64_t characterDataHash(const CharacterData& data);
