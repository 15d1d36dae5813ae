// What the computer player costs: a whole step of a headless versus match against the scripted
// player, the computer's choice included, per level. The arena's table gives the cost per
// decision; nothing here asserts a time.
#include <benchmark/benchmark.h>

#include <memory>

#include "cpu/CpuPlayer.h"
#include "cpu/ScriptedPlayer.h"
#include "match/Game.h"
#include "match/Match.h"
#include "support/testFighters.h"

namespace {

void BM_CpuPlayer_StepAgainstScript(benchmark::State& state) {
    const std::unique_ptr<Game> game = testGame();
    Match match(*game);
    MatchRules rules;
    rules.versus = true;
    match.start(rules);
    const int level = static_cast<int>(state.range(0));
    CpuPlayer cpu(match, 1, CpuLevel::of(level), 1);
    ScriptedPlayer script(0);
    for (auto _ : state) {
        const MatchState now = match.save();
        StepInput input;
        input.players[0] = script.next(now);
        input.players[1] = cpu.next(now);
        match.step(input);
    }
    state.counters["decisions/step"] =
        static_cast<double>(cpu.stats().decisions) / static_cast<double>(cpu.stats().steps);
}
BENCHMARK(BM_CpuPlayer_StepAgainstScript)->DenseRange(1, 8, 7)->Unit(benchmark::kMicrosecond);

// A decision alone: a level 8 player made to choose afresh on every step of a fight.
void BM_CpuPlayer_Decision(benchmark::State& state) {
    const std::unique_ptr<Game> game = testGame();
    Match match(*game);
    MatchRules rules;
    rules.versus = true;
    match.start(rules);
    const MatchState start = match.save();
    for (auto _ : state) {
        state.PauseTiming();
        CpuLevel level = CpuLevel::of(8);
        level.decisionSteps = 1;
        CpuPlayer cpu(match, 1, level, 1);
        state.ResumeTiming();
        benchmark::DoNotOptimize(cpu.next(start));
    }
}
BENCHMARK(BM_CpuPlayer_Decision)->Unit(benchmark::kMicrosecond);

} // namespace
