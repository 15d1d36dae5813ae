#pragma once

#include <cstdint>
#include <string>

struct MatchState;

// A stable 64-bit checksum of the match: the same match gives the same value in every run of
// the same build. Replays and network sessions compare it to tell that two runs agree.
std::uint64_t checksum(const MatchState& state);

// The fields in which two states differ, named for a person ("Player1 health, panel 2 rows");
// empty when they are equal.
std::string differences(const MatchState& a, const MatchState& b);
