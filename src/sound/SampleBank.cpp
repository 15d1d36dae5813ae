#include "sound/SampleBank.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include <SDL.h>
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

std::vector<float> load(const std::string& path) {
    requireRegularFile(path);
    SDL_AudioSpec layout;
    Uint8* bytes = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(path.c_str(), &layout, &bytes, &length))
        throw std::runtime_error("Cannot read the sound '" + path + "': " + SDL_GetError());
    if (layout.freq != SampleBank::rate || layout.channels != 1 || layout.format != AUDIO_S16LSB) {
        SDL_FreeWAV(bytes);
        throw std::runtime_error("The sound '" + path + "' is not 48 kHz mono 16-bit");
    }
    std::vector<float> samples(length / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        Uint16 raw;
        std::memcpy(&raw, bytes + 2 * i, 2);
        samples[i] = static_cast<float>(static_cast<std::int16_t>(SDL_SwapLE16(raw))) / 32768.0f;
    }
    SDL_FreeWAV(bytes);
    return samples;
}

} // namespace

SampleBank::SampleBank(const std::string& soundsDir) {
    for (int sound = 0; sound < SoundCue::soundCount; ++sound)
        bank[static_cast<std::size_t>(sound)] =
            load(soundsDir + "/" + SoundCue::name(static_cast<SoundCue::Sound>(sound)) + ".wav");
}
