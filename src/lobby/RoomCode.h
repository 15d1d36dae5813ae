#pragma once

#include <optional>
#include <random>
#include <string>

// A room's short code: 4 characters of an alphabet without the ones read or heard alike (no 0
// and O, 1, I and L, 2 and Z, 5 and S, 8 and B, U and V), so a code read out to a friend
// arrives as it was meant. Typed in either case.
namespace RoomCode {

constexpr int length = 4;

std::string make(std::mt19937_64& random);
// The code in its canonical (upper) case, or nothing when it is not of the form.
std::optional<std::string> normalise(const std::string& typed);

} // namespace RoomCode
