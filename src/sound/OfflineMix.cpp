#include "sound/OfflineMix.h"

#include "sound/cueDetection.h"

OfflineMix::OfflineMix(const std::string& soundsDir, int volume)
    : bank(soundsDir), mixer(bank, volume), player(&mixer) {}

void OfflineMix::stepRan(int step, const MatchState& before, const MatchState& after) {
    player.step(step, detectCues(before, after));
    mixer.mix(mixed.data(), framesPerStep);
}
