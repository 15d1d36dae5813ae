#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "lobby/LobbyMessages.h"
#include "lobby/PlayerCard.h"

// The lobby's messages to bytes and back, and the records its shared state keeps. decode takes
// only what encode makes: a wrong type, a field out of its range, a text too long or bytes left
// over refuse the whole packet. A probe is 12 bytes: "VRKP" and the token.
namespace LobbyCodec {

// No message a game sends is longer; the lobby's lists are.
constexpr std::size_t maxRequestBytes = 64;
constexpr std::size_t probeBytes = 12;

std::vector<std::uint8_t> encode(const lobby::Message& message);
std::optional<lobby::Message> decode(const std::uint8_t* data, std::size_t size);

std::vector<std::uint8_t> probe(std::uint64_t token);
std::optional<std::uint64_t> readProbe(const std::uint8_t* data, std::size_t size);

std::vector<std::uint8_t> encodeCard(const lobby::PlayerCard& card);
std::optional<lobby::PlayerCard> decodeCard(const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> encodeListing(const lobby::MatchListing& listing);
std::optional<lobby::MatchListing> decodeListing(const std::uint8_t* data, std::size_t size);

} // namespace LobbyCodec
