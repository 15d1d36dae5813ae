#pragma once

#include <cstdint>
#include <string>

namespace lobby {

// A UDP address as the lobby and its players pass it around: an IPv4 address as ENet keeps it
// (network byte order) and a port. An ip of 0 is "none", or in a relay's case "the lobby's own".
struct Endpoint {
    std::uint32_t ip = 0;
    std::uint16_t port = 0;

    bool operator==(const Endpoint& other) const { return ip == other.ip && port == other.port; }
    bool operator!=(const Endpoint& other) const { return !(*this == other); }
};

// "192.168.1.4:7717".
std::string describe(const Endpoint& endpoint);
// The dotted address alone.
std::string addressText(std::uint32_t ip);

} // namespace lobby
