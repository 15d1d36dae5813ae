#include "lobby/Endpoint.h"

#include <arpa/inet.h>

namespace lobby {

std::string addressText(std::uint32_t ip) {
    char text[INET_ADDRSTRLEN] = "";
    in_addr address{};
    address.s_addr = ip;
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

std::string describe(const Endpoint& endpoint) {
    return addressText(endpoint.ip) + ":" + std::to_string(endpoint.port);
}

} // namespace lobby
