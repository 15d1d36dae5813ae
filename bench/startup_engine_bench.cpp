#include <memory>
#include <string>

#include <Ogre.h>
#include <benchmark/benchmark.h>

#include "app/Application.h"
#include "app/programDirectory.h"
#include "support/BenchEngine.h"

namespace {

// The engine allows one root per process: the shared engine of the other benchmarks is
// stopped before a benchmark starts its own (the next user of the shared one starts it again).
std::unique_ptr<Application> ownApplication() {
    BenchEngine::stop();
    return std::make_unique<Application>(programDirectory());
}

// Everything the program does before a player sees the match: engine, window, resources,
// meshes, sprite library, match and scene, up to the first rendered frame.
void BM_StartupToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<Application> app = ownApplication();
        app->startEngine();
        app->createMatch();
        app->getRoot()->renderOneFrame();
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
}
// Wall time: the GL driver renders on threads of its own.
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The ground, the camera and the HUD-less scene: what every later feature adds to.
void BM_RenderFrameEmptyScene(benchmark::State& state) {
    const std::unique_ptr<Application> app = ownApplication();
    app->startEngine();
    app->createScene();
    for (auto _ : state)
        app->getRoot()->renderOneFrame();
    state.counters["fps"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderFrameEmptyScene)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole game on screen as the program runs it: ground, both fighters, the HUD, and the
// logic steps that each rendered frame runs before it is drawn.
void BM_RenderFrameMatch(benchmark::State& state) {
    const std::unique_ptr<Application> app = ownApplication();
    app->startEngine();
    app->createMatch();
    for (auto _ : state)
        app->getRoot()->renderOneFrame();
    state.counters["fps"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderFrameMatch)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
