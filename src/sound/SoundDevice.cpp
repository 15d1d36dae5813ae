#include "sound/SoundDevice.h"

#include <fcntl.h>
#include <unistd.h>

#include <SDL.h>

#include "sound/AudioSource.h"

namespace {

// ALSA's library and SDL's file drivers speak on stderr while a device is looked for; what
// matters of it is SDL's error, which goes to the log. So stderr goes to /dev/null meanwhile.
class QuietStderr {
public:
    QuietStderr() : saved(dup(STDERR_FILENO)) {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved < 0 || null < 0) {
            if (null >= 0)
                close(null);
            return;
        }
        dup2(null, STDERR_FILENO);
        close(null);
    }
    ~QuietStderr() {
        if (saved < 0)
            return;
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved;
};

} // namespace

SoundDevice::SoundDevice(AudioSource& source, const std::function<void(const std::string&)>& log) {
    if (!openDevice(source)) {
        log(std::string("Sound: no audio device (") + SDL_GetError() + "); the game plays silently");
        return;
    }
    log(std::string("Sound: playing through SDL's ") + SDL_GetCurrentAudioDriver() +
        " driver, 48000 Hz stereo, " + std::to_string(bufferFrames) + "-frame buffer");
    SDL_PauseAudioDevice(device, 0);
}

bool SoundDevice::openDevice(AudioSource& source) {
    const QuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    initialised = true;
    SDL_AudioSpec wanted{};
    wanted.freq = AudioSource::rate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = bufferFrames;
    wanted.callback = fill;
    wanted.userdata = &source;
    // SDL converts to whatever the device takes; the mixer always sees this format.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    return device != 0;
}

SoundDevice::~SoundDevice() {
    if (device != 0)
        SDL_CloseAudioDevice(device);
    if (initialised)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundDevice::fill(void* source, std::uint8_t* stream, int bytes) {
    static_cast<AudioSource*>(source)->mix(reinterpret_cast<float*>(stream),
                                           bytes / static_cast<int>(2 * sizeof(float)));
}
