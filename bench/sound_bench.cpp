#include <atomic>
#include <cstdlib>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/programDirectory.h"
#include "match/MatchState.h"
#include "match/Rounds.h"
#include "sound/CuePlayer.h"
#include "sound/Mixer.h"
#include "sound/SampleBank.h"
#include "sound/cueDetection.h"

// Every allocation of this program is counted, so the mixer's step can show it makes none.
namespace {
std::atomic<long> allocations{0};
} // namespace

extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* malloc(std::size_t size) {
    ++allocations;
    return __libc_malloc(size);
}

namespace {

MatchState versusState() {
    MatchState state;
    state.rules.versus = true;
    state.round = Rounds::start(state.rules);
    return state;
}

// Nearly every step: the clock runs, a fighter walks, nothing to be heard.
void BM_DetectCues_QuietStep(benchmark::State& state) {
    const MatchState before = versusState();
    MatchState after = before;
    --after.round.timer;
    after.fighters[0].state.position.x += 2;
    for (auto _ : state) {
        StepCues cues = detectCues(before, after);
        benchmark::DoNotOptimize(cues);
    }
}
BENCHMARK(BM_DetectCues_QuietStep);

// The busiest step there is: an attack starts, a hit knocks out, the round ends.
void BM_DetectCues_BusyStep(benchmark::State& state) {
    MatchState before = versusState();
    before.fighters[1].state.health = 30;
    MatchState after = before;
    after.fighters[0].state.attacking = true;
    after.fighters[0].state.action = PlayerState::HP;
    after.fighters[1].state.health = -20;
    after.fighters[1].state.stunFrames = 51;
    after.round.phase = RoundState::RoundOver;
    after.round.ending = RoundState::KnockOut;
    for (auto _ : state) {
        StepCues cues = detectCues(before, after);
        benchmark::DoNotOptimize(cues);
    }
}
BENCHMARK(BM_DetectCues_BusyStep);

// One step's sound (800 frames) with eight voices playing, new ones started as old ones end,
// as the audio thread mixes it; counts the allocations made while mixing.
void BM_Mixer_StepWithEightVoices(benchmark::State& state) {
    const SampleBank bank(programDirectory() + "/media/sounds");
    Mixer mixer(bank, 80);
    CuePlayer player(&mixer);
    std::vector<float> out(2 * 800);
    int step = 0;
    long allocated = 0;
    for (auto _ : state) {
        StepCues cues;
        if (step % 8 == 0)
            for (int sound = 0; sound < 8; ++sound)
                cues.add(static_cast<SoundCue::Sound>(sound * 2), sound % 2);
        player.step(step++, cues);
        const long before = allocations.load();
        mixer.mix(out.data(), 800);
        allocated += allocations.load() - before;
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["allocations"] = static_cast<double>(allocated);
}
BENCHMARK(BM_Mixer_StepWithEightVoices);

} // namespace
