// The lab's costs on the real engine: one step back, and a paused tick.
#include <benchmark/benchmark.h>

#include "support/BenchEngine.h"
#include "support/RandomInputs.h"
#include "support/SteppedMatch.h"
#include "training/TrainingPlay.h"

namespace {

// The lab after ten seconds of seeded random play with the panels, the boxes and the meter
// shown: the rewind history is full.
class FullLab : public SteppedMatch {
public:
    FullLab() : SteppedMatch(BenchEngine::app()), lab(*match, *game, *view) {
        StepInput shown;
        shown.keys.showInputPanels = shown.keys.showHitboxes = shown.keys.frameMeter = true;
        lab.step(shown);
        refill();
    }

    void refill() {
        for (int i = lab.history().size(); i < RewindHistory::capacity; ++i)
            lab.step(inputs.next(match->save()));
    }

    RandomInputs inputs{99};
    TrainingPlay lab;
};

// F7 held: every tick loads the state before the newest step and brings the sprites, the
// boxes, the panels, the meter and the status line in line with it.
void BM_TrainingStepBack(benchmark::State& state) {
    FullLab fight;
    StepInput back;
    back.keys.stepBack = true;
    for (auto _ : state) {
        if (fight.lab.history().empty()) {
            state.PauseTiming();
            fight.refill();
            state.ResumeTiming();
        }
        fight.lab.step(back);
    }
    state.counters["history_bytes"] = static_cast<double>(fight.lab.history().bytes());
    state.counters["history_steps"] = RewindHistory::capacity;
}
BENCHMARK(BM_TrainingStepBack);

// A paused tick with keys held: no logic step runs, only the keys are looked at.
void BM_TrainingPausedTick(benchmark::State& state) {
    FullLab fight;
    StepInput pause;
    pause.keys.pause = true;
    fight.lab.step(pause);
    StepInput held = fight.inputs.next(fight.match->save());
    for (auto _ : state)
        fight.lab.step(held);
    state.counters["steps_played"] = fight.lab.stepsPlayed();
}
BENCHMARK(BM_TrainingPausedTick);

} // namespace
