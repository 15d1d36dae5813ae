#pragma once

#include <cstdint>
#include <vector>

// An image of the media folder as the start-up's check decoded it, for the engine to take
// instead of decoding the file a second time: 8-bit RGB or RGBA, rows top first, no padding.
// fileBytes is the size of the file it came from.
struct DecodedImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t channels = 0;
    std::uintmax_t fileBytes = 0;
    std::vector<unsigned char> pixels;
};
