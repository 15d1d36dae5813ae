#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

#include <Ogre.h>
#include <benchmark/benchmark.h>

#include "app/Application.h"
#include "app/programDirectory.h"
#include "fighter/Player.h"
#include "match/Game.h"
#include "support/BenchEngine.h"

namespace {

using Clock = std::chrono::steady_clock;

// Each run lasts this long, as a player would sit in front of it.
constexpr double runSeconds = 30;

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Notes the moment of every picture the loop draws and ends the loop after runSeconds; in a
// busy match it keeps both fighters attacking with every display on.
class PictureLog : public Ogre::FrameListener {
public:
    explicit PictureLog(Game* busy) : busy(busy) {}

    bool frameStarted(const Ogre::FrameEvent&) override {
        if (busy)
            for (Player* player : {busy->player1.get(), busy->player2.get()})
                if (player->state.canAct) {
                    player->state.action = PlayerState::Tatsu;
                    player->state.canAct = false;
                    player->state.canBlock = false;
                    player->state.attacking = true;
                }
        return std::chrono::duration<double>(Clock::now() - start).count() < runSeconds;
    }
    bool frameRenderingQueued(const Ogre::FrameEvent&) override {
        pictures.push_back(Clock::now());
        return true;
    }

    const Clock::time_point start = Clock::now();
    std::vector<Clock::time_point> pictures;

private:
    Game* busy;
};

struct LoopFigures {
    double picturesPerSecond = 0;
    double p99IntervalMs = 0;
    double cores = 0;
};

// The game's match run for runSeconds by the program's frame loop, or by the engine's own loop
// that draws as fast as it can (the loop the game had before).
LoopFigures runLoop(bool busy, bool paced) {
    BenchEngine::stop();
    auto app = std::make_unique<Application>(programDirectory());
    app->startEngine();
    app->createMatch();
    Game* game = app->getGame();
    if (busy) {
        game->showInputPanels();
        game->showHitboxes();
    }
    PictureLog log(busy ? game : nullptr);
    app->getRoot()->addFrameListener(&log);
    const double cpuBefore = processCpuSeconds();
    if (paced)
        app->runFrameLoop();
    else
        app->getRoot()->startRendering();
    const double seconds = std::chrono::duration<double>(Clock::now() - log.start).count();
    LoopFigures figures;
    figures.cores = (processCpuSeconds() - cpuBefore) / seconds;
    figures.picturesPerSecond = static_cast<double>(log.pictures.size()) / seconds;
    std::vector<double> intervals;
    for (std::size_t i = 1; i < log.pictures.size(); ++i)
        intervals.push_back(std::chrono::duration<double, std::milli>(log.pictures[i] -
                                                                     log.pictures[i - 1])
                                .count());
    if (!intervals.empty()) {
        const std::size_t at = intervals.size() * 99 / 100;
        std::nth_element(intervals.begin(), intervals.begin() + at, intervals.end());
        figures.p99IntervalMs = intervals[at];
    }
    app->getRoot()->removeFrameListener(&log);
    return figures;
}

// Pictures a second, the 99th percentile of the interval between pictures and the CPU time in
// cores, of the program's loop (one picture per step) against the engine's loop, idle (the
// match as it starts, nobody pressing a key) or busy (both fighters attacking, every display on).
void BM_FramePacing(benchmark::State& state) {
    const bool busy = state.range(0) == 1;
    for (auto _ : state) {
        const LoopFigures paced = runLoop(busy, true);
        const LoopFigures uncapped = runLoop(busy, false);
        state.counters["pictures_per_s"] = paced.picturesPerSecond;
        state.counters["p99_interval_ms"] = paced.p99IntervalMs;
        state.counters["cores"] = paced.cores;
        state.counters["uncapped_pictures_per_s"] = uncapped.picturesPerSecond;
        state.counters["uncapped_cores"] = uncapped.cores;
        state.counters["cpu_over_uncapped"] = paced.cores / uncapped.cores;
    }
}
BENCHMARK(BM_FramePacing)
    ->ArgName("busy")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace
