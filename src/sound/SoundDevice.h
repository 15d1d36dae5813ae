#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "sound/AudioOutput.h"

class AudioSource;

// The system's audio output through SDL: 48 kHz stereo, a buffer of bufferFrames, filled by the
// mixer on SDL's audio thread. Without a device (a server, CI, a machine without sound) it is
// closed and plays nothing; the line that says so goes to the log once. Owned by the sound
// presenter; the mixer is not owned and must outlive it. Built into the device module.
class SoundDevice : public AudioOutput {
public:
    static constexpr int bufferFrames = 512;

    SoundDevice(AudioSource& source, const std::function<void(const std::string&)>& log);
    ~SoundDevice() override;

    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    bool isOpen() const override { return device != 0; }

private:
    bool openDevice(AudioSource& source);
    static void fill(void* source, std::uint8_t* stream, int bytes);

    std::uint32_t device = 0;
    bool initialised = false;
};
