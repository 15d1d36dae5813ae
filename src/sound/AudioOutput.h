#pragma once

// The system's audio output as the sound presenter sees it: open and playing the mixer, or
// closed and silent. SoundDevice is the one through SDL, made in the device module; the sound
// presenter owns it.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    virtual bool isOpen() const = 0;
};
