#include "lobby/RoomCode.h"

#include <cctype>

namespace RoomCode {

namespace {
constexpr char alphabet[] = "34679ACDEFGHJKMNPQRTWXY";
constexpr std::size_t letters = sizeof alphabet - 1;
} // namespace

std::string make(std::mt19937_64& random) {
    std::uniform_int_distribution<std::size_t> pick(0, letters - 1);
    std::string code;
    for (int i = 0; i < length; ++i)
        code += alphabet[pick(random)];
    return code;
}

std::optional<std::string> normalise(const std::string& typed) {
    if (typed.size() != static_cast<std::size_t>(length))
        return std::nullopt;
    std::string code;
    for (const char c : typed) {
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper == '\0' || std::string(alphabet).find(upper) == std::string::npos)
            return std::nullopt;
        code += upper;
    }
    return code;
}

} // namespace RoomCode
