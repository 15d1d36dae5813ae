#include "sound/WaveFile.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace {

std::uint32_t littleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

} // namespace

std::vector<float> WaveFile::decode(const std::vector<unsigned char>& file,
                                    const std::string& path) {
    const auto damaged = [&](const std::string& what) {
        return std::runtime_error("Cannot read the sound '" + path + "': " + what);
    };
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        throw damaged("it is not a WAVE file");
    bool formatSeen = false;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const unsigned char* chunk = file.data() + at;
        const std::size_t size = littleEndian(chunk + 4, 4);
        if (size > file.size() - at - 8)
            throw damaged("it is cut short");
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || littleEndian(chunk + 8, 2) != 1 || littleEndian(chunk + 10, 2) != 1 ||
                littleEndian(chunk + 12, 4) != rate || littleEndian(chunk + 22, 2) != 16)
                throw std::runtime_error("The sound '" + path + "' is not 48 kHz mono 16-bit");
            formatSeen = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!formatSeen)
                throw damaged("its samples come before their format");
            std::vector<float> samples(size / 2);
            for (std::size_t i = 0; i < samples.size(); ++i)
                samples[i] =
                    static_cast<std::int16_t>(littleEndian(chunk + 8 + 2 * i, 2)) / 32768.0f;
            return samples;
        }
        // Chunks are padded to an even length.
        at += 8 + size + size % 2;
    }
    throw damaged("it has no samples");
}
