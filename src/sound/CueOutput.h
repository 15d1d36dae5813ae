#pragma once

#include <cstdint>

#include "sound/SoundCue.h"

// Where the cue player's decisions go: the mixer, live or off-line. Voices are numbered by the
// cue player; stopping one that has already ended does nothing.
class CueOutput {
public:
    virtual ~CueOutput() = default;

    virtual void play(const SoundCue& cue, std::uint32_t voice) = 0;
    // Fades the voice out (see Mixer::fadeFrames).
    virtual void stop(std::uint32_t voice) = 0;
    virtual void stopAll() = 0;
};
