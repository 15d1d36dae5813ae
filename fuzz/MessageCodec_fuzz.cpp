// A packet from the other side of an online match, or from the host to a spectator: refused,
// or taken only when it is exactly what encoding its message gives.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "expect.h"
#include "net/MessageCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<net::Message> message = MessageCodec::decode(data, size);
    if (message)
        expect(MessageCodec::encode(*message) == std::vector<std::uint8_t>(data, data + size),
               "a packet taken is its message's encoding");
    return 0;
}
