#include <memory>
#include <string>

#include <Ogre.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "app/Application.h"
#include "support/BenchEngine.h"

namespace {

std::string programDirectory() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    const std::string program(path, length > 0 ? length : 0);
    return program.substr(0, program.rfind('/'));
}

// A virtual display resets itself when its last client leaves, and refuses connections while
// it does; the engines started and stopped one after another here would then fail to open it.
// One connection held for the whole run keeps it up.
void holdDisplay() {
    static Display* const display = XOpenDisplay(nullptr);
    benchmark::DoNotOptimize(display);
}

// The engine allows one root per process: the shared engine of the other benchmarks is
// stopped before a benchmark starts its own (the next user of the shared one starts it again).
std::unique_ptr<Application> ownApplication() {
    holdDisplay();
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
