#pragma once

#include <string>

// The names players meet under: 2 to 16 printable ASCII characters, with no space at either end
// and never two in a row, so that two names that look alike are alike. The lobby holds each
// for one connection at a time.
namespace PlayerName {

bool valid(const std::string& name);

} // namespace PlayerName
