#pragma once

// What an audio output plays: interleaved stereo frames of -1 to 1 at 48 kHz, asked for on the
// output's own thread. The mixer is the one; the output does not own it.
class AudioSource {
public:
    static constexpr int rate = 48000;

    virtual ~AudioSource() = default;

    virtual void mix(float* stereo, int frames) = 0;
};
