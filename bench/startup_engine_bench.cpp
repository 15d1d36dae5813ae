#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <Ogre.h>
#include <benchmark/benchmark.h>

#include "app/Application.h"
#include "match/Game.h"
#include "app/programDirectory.h"
#include "controllers/Controllers.h"
#include "fighter/Player.h"
#include "render/Hud.h"
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

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Starts an attack the way the fighter does when its button or command is seen: the match
// runs on the real keyboard, which nobody presses during a benchmark.
void startAttack(Player& player, PlayerState::Action attack) {
    player.state.action = attack;
    player.state.canAct = false;
    player.state.canBlock = false;
    player.state.attacking = true;
}

// The match's start-up against the bare scene's (engine, window, resources, ground, camera),
// each up to its first rendered frame, one after the other in every round so that both see
// the same load on the machine.
void BM_StartupMatchVsBareScene(benchmark::State& state) {
    double bareSeconds = 0;
    double matchSeconds = 0;
    for (auto _ : state) {
        for (const bool match : {false, true}) {
            const Clock::time_point start = Clock::now();
            std::unique_ptr<Application> app = ownApplication();
            app->startEngine();
            if (match)
                app->createMatch();
            else
                app->createScene();
            app->getRoot()->renderOneFrame();
            (match ? matchSeconds : bareSeconds) += secondsSince(start);
            app.reset();
        }
    }
    state.counters["bare_ms"] = 1000 * bareSeconds / state.iterations();
    state.counters["match_ms"] = 1000 * matchSeconds / state.iterations();
    state.counters["match_over_bare"] = matchSeconds / bareSeconds;
}
BENCHMARK(BM_StartupMatchVsBareScene)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The game's start-up up to its first frame, which starts the controller layer with the logic
// clock, against the controller layer's start alone; the first start of SDL in the process,
// before the rounds, is reported apart (it loads SDL's device libraries).
void BM_StartupWithAndWithoutControllers(benchmark::State& state) {
    const auto startControllers = [] {
        const Clock::time_point start = Clock::now();
        Controllers controllers(Bindings::defaults(), [](const std::string&) {});
        return secondsSince(start);
    };
    const double firstSeconds = startControllers();
    double gameSeconds = 0;
    double controllerSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        std::unique_ptr<Application> app = ownApplication();
        app->startEngine();
        app->createMatch();
        app->getRoot()->renderOneFrame();
        gameSeconds += secondsSince(start);
        app.reset();
        controllerSeconds += startControllers();
    }
    state.counters["game_ms"] = 1000 * gameSeconds / state.iterations();
    state.counters["controllers_ms"] = 1000 * controllerSeconds / state.iterations();
    state.counters["controllers_first_ms"] = 1000 * firstSeconds;
    state.counters["with_over_without"] = gameSeconds / (gameSeconds - controllerSeconds);
}
BENCHMARK(BM_StartupWithAndWithoutControllers)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

// The frames of the first punch of a freshly started game, as the program runs them (logic
// steps in the frame listener, then drawing). The time reported is the slowest of them; the
// frames just before the punch, the fighters only standing, give the typical and the slowest
// frame of a calm match for comparison (a busy machine makes some frames slow either way).
void BM_FirstPunchSlowestFrame(benchmark::State& state) {
    double typicalSeconds = 0;
    double calmSlowestSeconds = 0;
    for (auto _ : state) {
        std::unique_ptr<Application> app = ownApplication();
        app->startEngine();
        app->createMatch();
        Ogre::Root* root = app->getRoot();
        for (int frame = 0; frame < 10; ++frame)
            root->renderOneFrame();
        std::vector<double> calm;
        for (int frame = 0; frame < 60; ++frame) {
            const Clock::time_point start = Clock::now();
            root->renderOneFrame();
            calm.push_back(secondsSince(start));
        }
        calmSlowestSeconds += *std::max_element(calm.begin(), calm.end());
        std::nth_element(calm.begin(), calm.begin() + calm.size() / 2, calm.end());
        typicalSeconds += calm[calm.size() / 2];

        Player& puncher = *Game::getSingletonPtr()->player1;
        startAttack(puncher, PlayerState::HP);
        double slowest = 0;
        while (puncher.state.action == PlayerState::HP) {
            const Clock::time_point start = Clock::now();
            root->renderOneFrame();
            slowest = std::max(slowest, secondsSince(start));
        }
        state.SetIterationTime(slowest);
    }
    state.counters["typical_frame_ms"] = 1000 * typicalSeconds / state.iterations();
    state.counters["calm_slowest_ms"] = 1000 * calmSlowestSeconds / state.iterations();
}
BENCHMARK(BM_FirstPunchSlowestFrame)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseManualTime();

// Seconds per frame over a number of frames: the bare scene, or the whole match with both
// input panels full and both fighters' boxes shown, the fighters attacking all the time.
double secondsPerFrame(bool match, int frames) {
    std::unique_ptr<Application> app = ownApplication();
    app->startEngine();
    Game* game = nullptr;
    if (match) {
        app->createMatch();
        game = Game::getSingletonPtr();
        game->showInputPanels();
        game->showHitboxes();
        for (int row = 0; row < 2 * int(InputDataDisplay::maxRows); ++row) {
            InputFrame input;
            input.direction = row % 2 ? Direction::DownLeft : Direction::Right;
            input.pressed[row % 4 == 0] = true;
            game->hud->getInputDataDisplay(0)->addFrame(input);
            game->hud->getInputDataDisplay(1)->addFrame(input);
        }
    } else {
        app->createScene();
    }
    Ogre::Root* root = app->getRoot();
    for (int frame = 0; frame < 20; ++frame)
        root->renderOneFrame();

    const Clock::time_point start = Clock::now();
    for (int frame = 0; frame < frames; ++frame) {
        if (game) {
            for (Player* player : {game->player1.get(), game->player2.get()}) {
                if (player->state.canAct)
                    startAttack(*player, PlayerState::Tatsu);
            }
        }
        root->renderOneFrame();
    }
    return secondsSince(start) / frames;
}

// The frame rate of the busy match with every display on against the bare scene, in rounds
// of one run of each so that both see the same load on the machine.
void BM_FrameRateMatchVsBareScene(benchmark::State& state) {
    const int frames = 300;
    double bare = 0;
    double match = 0;
    for (auto _ : state) {
        bare += secondsPerFrame(false, frames);
        match += secondsPerFrame(true, frames);
    }
    state.counters["bare_fps"] = state.iterations() / bare;
    state.counters["match_fps"] = state.iterations() / match;
    state.counters["match_over_bare"] = bare / match;
}
BENCHMARK(BM_FrameRateMatchVsBareScene)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

} // namespace
