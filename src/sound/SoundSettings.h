#pragma once

#include <string>

// How the game is to sound, as the command line chose it.
struct SoundSettings {
    static constexpr int defaultVolume = 80;

    // 0 to 100.
    int volume = defaultVolume;
    // Nothing is heard and no device is opened.
    bool mute = false;
    // An exported video gets no audio track.
    bool noAudio = false;
    // Every cue played or stopped, one line each, into this file; empty: none.
    std::string cueLogPath;
};
