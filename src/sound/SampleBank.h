#pragma once

#include <array>
#include <string>
#include <vector>

#include "sound/SoundCue.h"
#include "sound/WaveFile.h"

// Every sound of the game, read once at start-up from media/sounds into memory as samples of
// -1 to 1 at 48 kHz, mono: nothing is read or allocated while the game plays. Owned by the
// sound presenter or the export; the mixer reads it.
class SampleBank {
public:
    static constexpr int rate = WaveFile::rate;

    // Throws std::runtime_error naming the file when one is missing, not a regular file, larger
    // than 4 MiB or not 48 kHz mono 16-bit (see WaveFile).
    explicit SampleBank(const std::string& soundsDir);

    const std::vector<float>& samples(SoundCue::Sound sound) const {
        return bank[static_cast<std::size_t>(sound)];
    }

private:
    std::array<std::vector<float>, SoundCue::soundCount> bank;
};
