#include "sound/SampleBank.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <sys/stat.h>

#include "sound/WaveFile.h"

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
    std::ifstream stream(path, std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(stream)),
                                    std::istreambuf_iterator<char>());
    if (!stream.good() && !stream.eof())
        throw std::runtime_error("Cannot read the sound '" + path + "': " + std::strerror(errno));
    return WaveFile::decode(file, path);
}

} // namespace

SampleBank::SampleBank(const std::string& soundsDir) {
    for (int sound = 0; sound < SoundCue::soundCount; ++sound)
        bank[static_cast<std::size_t>(sound)] =
            load(soundsDir + "/" + SoundCue::name(static_cast<SoundCue::Sound>(sound)) + ".wav");
}
