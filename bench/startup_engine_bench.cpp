#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <Ogre.h>
#include <unistd.h>

#include "app/Application.h"

namespace {

std::string programDirectory() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    const std::string program(path, length > 0 ? length : 0);
    return program.substr(0, program.rfind('/'));
}

// Everything the program does before a player sees the match: engine, window, resources,
// meshes, sprite library, match and scene, up to the first rendered frame.
void BM_StartupToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        auto app = std::make_unique<Application>(programDirectory());
        app->startEngine();
        app->createMatch();
        app->getRoot()->renderOneFrame();
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

// The ground, the camera and the HUD-less scene: what every later feature adds to.
void BM_RenderFrameEmptyScene(benchmark::State& state) {
    Application app(programDirectory());
    app.startEngine();
    app.createScene();
    for (auto _ : state)
        app.getRoot()->renderOneFrame();
    state.counters["fps"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderFrameEmptyScene)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole game on screen: ground, both fighters, the HUD.
void BM_RenderFrameMatch(benchmark::State& state) {
    Application app(programDirectory());
    app.startEngine();
    app.createMatch();
    for (auto _ : state)
        app.getRoot()->renderOneFrame();
    state.counters["fps"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderFrameMatch)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
