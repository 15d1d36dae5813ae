#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "sound/StepCues.h"

class CueOutput;

// Turns the cues of the steps as they run into sounds started and stopped, so that a rollback
// is not heard: a step whose number is not past the last one reported starts a re-run. A cue
// that comes again in a re-run within matchWindow steps of where it first played is not
// played twice; one that does not come again is stopped once no step of the window can bring
// it back; a new one plays at once. Without rollback every cue plays as it comes. Owned by
// the sound presenter or the export; the output is not owned.
class CuePlayer {
public:
    static constexpr int matchWindow = 2;

    // One line per decision: "<step> play <sound> <side>" or "<step> stop <sound> <side>".
    using Log = std::function<void(int step, const char* decision, const SoundCue& cue)>;

    explicit CuePlayer(CueOutput* output) : output(output) {}

    void step(int step, const StepCues& cues);
    // Stops everything and forgets it: what comes next is heard afresh.
    void silence();

    Log log;

private:
    struct Played {
        SoundCue cue;
        int step = 0;
        std::uint32_t voice = 0;
        // The pass that played it or last heard it again.
        int pass = 0;
        // Its step was run again and has not brought it back yet.
        bool doubted = false;
        bool live = false;
    };
    // Enough for every cue of the steps a rollback reaches, many times over.
    static constexpr int kept = 128;

    void startPass(int from);
    bool heardAgain(int step, const SoundCue& cue);
    void play(int step, const SoundCue& cue);
    void stopDoubted(int step);

    CueOutput* output;
    std::array<Played, kept> played{};
    int next = 0;
    int pass = 0;
    int lastStep = -1;
    bool any = false;
    std::uint32_t nextVoice = 1;
};
