#include <benchmark/benchmark.h>

#include "match/MatchTimeline.h"
#include "match/checksum.h"
#include "support/BenchEngine.h"
#include "support/RandomInputs.h"
#include "support/SteppedMatch.h"

namespace {

// A match in the middle of a fight, with the input panels and boxes shown: 600 steps of seeded
// random play, so both fighters' histories, animations and panels are full of real values.
class FightingMatch : public SteppedMatch {
public:
    FightingMatch() : SteppedMatch(BenchEngine::app()) {
        game->showInputPanels();
        game->showHitboxes();
        for (int i = 0; i < 600; ++i)
            step(inputs.next(match->save()));
    }

    RandomInputs inputs{99};
};

void BM_MatchSave(benchmark::State& state) {
    FightingMatch fight;
    for (auto _ : state) {
        MatchState saved = fight.match->save();
        benchmark::DoNotOptimize(saved);
    }
}
BENCHMARK(BM_MatchSave);

// Back and forth between two states eight steps apart, without the screen: what a rollback
// pays to go back.
void BM_MatchRestore(benchmark::State& state) {
    FightingMatch fight;
    const MatchState before = fight.match->save();
    for (int i = 0; i < 8; ++i)
        fight.step(fight.inputs.next(fight.match->save()));
    const MatchState after = fight.match->save();
    bool back = true;
    for (auto _ : state) {
        fight.match->restore(back ? before : after);
        back = !back;
    }
}
BENCHMARK(BM_MatchRestore);

void BM_MatchChecksum(benchmark::State& state) {
    FightingMatch fight;
    const MatchState saved = fight.match->save();
    for (auto _ : state)
        benchmark::DoNotOptimize(checksum(saved));
}
BENCHMARK(BM_MatchChecksum);

// Going back eight steps and running them again with the screen held back, then showing the
// outcome once: the worst a rollback can cost. Every iteration also runs one new step.
void BM_RollbackEightSteps(benchmark::State& state) {
    FightingMatch fight;
    MatchTimeline timeline(*fight.match);
    for (int i = 0; i < MatchTimeline::maxRollback; ++i)
        timeline.advance(fight.inputs.next(fight.match->save()));
    for (auto _ : state) {
        state.PauseTiming();
        timeline.advance(fight.inputs.next(fight.match->save()));
        state.ResumeTiming();
        timeline.resimulateFrom(timeline.now() - MatchTimeline::maxRollback);
    }
}
BENCHMARK(BM_RollbackEightSteps);

// The view's part of a picture when nothing changed since the last one.
void BM_ShowUnchangedMatch(benchmark::State& state) {
    FightingMatch fight;
    for (auto _ : state)
        fight.view->show();
}
BENCHMARK(BM_ShowUnchangedMatch);

} // namespace
