#pragma once

#include <cstddef>
#include <cstdint>

// The 64-bit FNV-1a hash, fed byte by byte or word by word (words little-endian, so the value
// is the same on every machine). For fingerprints and damage checks, not for security.
struct Fnv1a {
    std::uint64_t value = 0xcbf29ce484222325ull;

    void addByte(std::uint8_t byte) {
        value ^= byte;
        value *= 0x100000001b3ull;
    }
    void addBytes(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        for (std::size_t i = 0; i < size; ++i)
            addByte(bytes[i]);
    }
    void addWord(std::uint64_t word) {
        for (int i = 0; i < 8; ++i)
            addByte(static_cast<std::uint8_t>(word >> (8 * i)));
    }
};
