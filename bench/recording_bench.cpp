// The cost a recording adds to a logic step: the step's two bytes, the match's checksum, and
// every 2 s the write of what was recorded. Figures are read by people; nothing here asserts a
// time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include <unistd.h>

#include "match/MatchState.h"
#include "replay/ReplayRecorder.h"

namespace {

const Lineup lineup{{{{"brann", 1}, {"sora", 2}}}, {"courtyard", 3}};

void BM_RecordStep(benchmark::State& state) {
    const std::string path = "/tmp/vorrak-bench-" + std::to_string(getpid()) + ".vrp";
    auto recorder = std::make_unique<ReplayRecorder>(path, lineup);
    MatchState match;
    StepInput input;
    std::uint64_t steps = 0;
    for (auto _ : state) {
        // An hour of play per file, far below a recording's limit.
        if (++steps % 216000 == 0) {
            state.PauseTiming();
            recorder = std::make_unique<ReplayRecorder>(path, lineup);
            state.ResumeTiming();
        }
        match.fighters[0].state.health = static_cast<int>(steps % 1000);
        input.players[0].direction = static_cast<Direction::eDirection>(steps % 9);
        recorder->record(input, match);
    }
    recorder.reset();
    std::remove(path.c_str());
}
BENCHMARK(BM_RecordStep);

} // namespace
