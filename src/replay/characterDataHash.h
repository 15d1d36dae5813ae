#pragma once

#include <cstdint>

class CharacterData;

// A 64-bit fingerprint of the character data by value: every animation's segments (durations,
// sprite names, box coordinates, hit properties, movement) and the move list; addresses never
// count. The fingerprint of the one fighter before fighters were files: recordings of those
// formats carry it, and are checked against it. Newer ones carry the fighter file's own
// (CharacterData::fileHash), which covers the whole file.
std::uint64_t characterDataHash(const CharacterData& data);
