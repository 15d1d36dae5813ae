#include "sound/CuePlayer.h"

#include <cstdlib>

#include "sound/CueOutput.h"

void CuePlayer::step(int step, const StepCues& cues) {
    if (any && step <= lastStep)
        startPass(step);
    any = true;
    lastStep = step;
    for (const SoundCue& cue : cues)
        if (!heardAgain(step, cue))
            play(step, cue);
    stopDoubted(step);
}

void CuePlayer::silence() {
    if (output)
        output->stopAll();
    played.fill(Played{});
    any = false;
}

// Everything played from the re-run's first step on must come again to stay.
void CuePlayer::startPass(int from) {
    ++pass;
    for (Played& entry : played)
        if (entry.live && entry.step >= from)
            entry.doubted = true;
}

// A cue of an earlier pass near this step, not yet heard again in this one, is this cue.
bool CuePlayer::heardAgain(int step, const SoundCue& cue) {
    for (Played& entry : played) {
        if (!entry.live || entry.pass == pass || entry.cue != cue ||
            std::abs(entry.step - step) > matchWindow)
            continue;
        entry.pass = pass;
        entry.doubted = false;
        return true;
    }
    return false;
}

void CuePlayer::play(int step, const SoundCue& cue) {
    Played& entry = played[static_cast<std::size_t>(next)];
    next = (next + 1) % kept;
    entry = Played{cue, step, nextVoice++, pass, false, true};
    // Logged first, so a log that notes where the output stands notes it before the sound.
    if (log)
        log(step, "play", cue);
    if (output)
        output->play(cue, entry.voice);
}

// Past its window, a doubted cue can no longer come again.
void CuePlayer::stopDoubted(int step) {
    for (Played& entry : played) {
        if (!entry.live || !entry.doubted || step - entry.step <= matchWindow)
            continue;
        entry.live = false;
        if (output)
            output->stop(entry.voice);
        if (log)
            log(step, "stop", entry.cue);
    }
}
