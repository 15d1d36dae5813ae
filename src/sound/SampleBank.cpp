#include "sound/SampleBank.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <sys/stat.h>

namespace {

// The game's longest sound lasts a second; a file this large is something else.
constexpr off_t maxFileBytes = 4 * 1024 * 1024;

// stat, not open: opening a FIFO would block until someone writes to it.
void requireRegularFile(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        throw std::runtime_error("Cannot read the sound '" + path + "': " + std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        throw std::runtime_error("The sound '" + path + "' is not a regular file");
    if (status.st_size > maxFileBytes)
        throw std::runtime_error("The sound '" + path + "' is larger than 4 MiB");
}

std::uint32_t littleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// The sound's samples from a RIFF WAVE file of 16-bit PCM at 48 kHz, mono: the format the
// game's sounds are made in. Every chunk's size is checked against what the file holds.
std::vector<float> decodeWave(const std::string& path, const std::vector<unsigned char>& file) {
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
                littleEndian(chunk + 12, 4) != SampleBank::rate ||
                littleEndian(chunk + 22, 2) != 16)
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

std::vector<float> load(const std::string& path) {
    requireRegularFile(path);
    std::ifstream stream(path, std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(stream)),
                                    std::istreambuf_iterator<char>());
    if (!stream.good() && !stream.eof())
        throw std::runtime_error("Cannot read the sound '" + path + "': " + std::strerror(errno));
    return decodeWave(path, file);
}

} // namespace

SampleBank::SampleBank(const std::string& soundsDir) {
    for (int sound = 0; sound < SoundCue::soundCount; ++sound)
        bank[static_cast<std::size_t>(sound)] =
            load(soundsDir + "/" + SoundCue::name(static_cast<SoundCue::Sound>(sound)) + ".wav");
}
