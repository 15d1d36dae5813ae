#include "lobby/PlayerName.h"

namespace PlayerName {

namespace {
constexpr std::size_t shortest = 2;
constexpr std::size_t longest = 16;
} // namespace

bool valid(const std::string& name) {
    if (name.size() < shortest || name.size() > longest || name.front() == ' ' ||
        name.back() == ' ' || name.find("  ") != std::string::npos)
        return false;
    for (const char c : name)
        if (c < 0x20 || c > 0x7e)
            return false;
    return true;
}

} // namespace PlayerName
