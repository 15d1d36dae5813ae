#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "net/Messages.h"

// Messages to bytes and back, little-endian, one message per packet. What arrives from the
// network is hostile: decode accepts a packet only when its size, type, counts and every value
// are in range, and says nothing about anything else. The Hello layout never changes, so two
// versions of the game can still tell each other that they differ.
namespace MessageCodec {

std::vector<std::uint8_t> encode(const net::Message& message);
std::optional<net::Message> decode(const std::uint8_t* data, std::size_t size);

} // namespace MessageCodec
