#pragma once

#include <cstdint>

class CharacterData;

// A 64-bit hash of the character data by value (every segment of every animation, the boxes,
// the attack properties, the motion commands): two programs whose fighters differ in anything
// the rules read disagree on it. Sprite materials count by name.
std::uint64_t characterDataHash(const CharacterData& data);
