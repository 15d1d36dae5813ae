#pragma once

#include "match/MatchRules.h"
#include "sound/SoundSettings.h"

// What a player sets once and keeps from one run to the next, as the settings screen and
// settings.cfg give it (SettingsFile). Each is the default of an option: applySettings puts
// them in place before the command line is read, so an option given wins for that run. The
// players' keys are kept apart, in the bindings file.
struct Settings {
    static constexpr int maxVolume = 100;
    static constexpr int maxInputDelay = 4;
    static constexpr int defaultReplayLimit = 200;
    static constexpr int maxReplayLimit = 10000;

    // 0 to 100, as --volume.
    int volume = SoundSettings::defaultVolume;
    // Pictures wait for the display's vertical sync, as --vsync.
    bool vsync = true;
    // A versus match's rounds, as --rounds: 1, 3, 5, 7 or 9.
    int rounds = MatchRules::defaultRounds;
    // Online play's steps between a key and the match taking it, as --delay: 0 to 4.
    int inputDelay = 1;
    // The recordings the replays folder keeps, the oldest removed beyond it: 1 to 10000.
    int replayLimit = defaultReplayLimit;

    bool operator==(const Settings& other) const {
        return volume == other.volume && vsync == other.vsync && rounds == other.rounds &&
               inputDelay == other.inputDelay && replayLimit == other.replayLimit;
    }
    bool operator!=(const Settings& other) const { return !(*this == other); }
};
