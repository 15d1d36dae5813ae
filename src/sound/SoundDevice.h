#pragma once

#include <cstdint>
#include <functional>
#include <string>

class Mixer;

// The system's audio output through SDL: 48 kHz stereo, a buffer of bufferFrames, filled by the
// mixer on SDL's audio thread. Without a device (a server, CI, a machine without sound) it is
// closed and plays nothing; the line that says so goes to the log once. Owned by the sound
// presenter; the mixer is not owned and must outlive it.
class SoundDevice {
public:
    static constexpr int bufferFrames = 512;

    SoundDevice(Mixer& mixer, const std::function<void(const std::string&)>& log);
    ~SoundDevice();

    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    bool isOpen() const { return device != 0; }

private:
    bool openDevice(Mixer& mixer);
    static void fill(void* mixer, std::uint8_t* stream, int bytes);

    std::uint32_t device = 0;
    bool initialised = false;
};
