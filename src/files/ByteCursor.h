#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Little-endian fields taken in turn off bytes from outside (a packet, a saved match): a read
// past the end gives 0 or nothing and marks the whole buffer bad, so a codec's reader checks
// once, at the end. Each codec's reader builds its own fields on it.
class ByteCursor {
public:
    ByteCursor(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    std::uint64_t get(int bytes) {
        if (size - at < static_cast<std::size_t>(bytes)) {
            bad = true;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint64_t{data[at++]} << (8 * i);
        return value;
    }
    // The next length bytes as they are.
    std::string take(std::size_t length) {
        if (size - at < length) {
            bad = true;
            return {};
        }
        std::string bytes(reinterpret_cast<const char*>(data + at), length);
        at += length;
        return bytes;
    }

    // Every byte read, none left over, none missing.
    bool complete() const { return !bad && at == size; }
    bool atEnd() const { return at >= size; }

    bool bad = false;

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};
