#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <Ogre.h>
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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
    // Pictures drawn back to back measure the drawing, not a display's vertical sync.
    Options options;
    options.vsync = false;
    return std::make_unique<Application>(programDirectory(), options);
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

// The ground, the camera and the HUD-less scene: what every later feature adds to. Pictures
// drawn back to back: the program draws 60 a second, so this is how many it could draw, its
// headroom, not the rate a player sees.
void BM_RenderFrameEmptyScene(benchmark::State& state) {
    const std::unique_ptr<Application> app = ownApplication();
    app->startEngine();
    app->createScene();
    for (auto _ : state)
        app->getRoot()->renderOneFrame();
    state.counters["possible_pictures_per_s"] =
        benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderFrameEmptyScene)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole game on screen: ground, both fighters, the HUD, and the logic steps that are due
// before each picture, drawn back to back: the drawing's headroom over the 60 pictures a second
// the program draws (BM_FramePacing measures those).
void BM_RenderFrameMatch(benchmark::State& state) {
    const std::unique_ptr<Application> app = ownApplication();
    app->startEngine();
    app->createMatch();
    for (auto _ : state)
        app->getRoot()->renderOneFrame();
    state.counters["possible_pictures_per_s"] =
        benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
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

// Seconds from the spawn of a probe program beside this one to the first picture it reports,
// the moment printed on its stdout by the system-wide monotonic clock.
double secondsToFirstPicture(const char* probe) {
    const std::string path = programDirectory() + "/" + probe;
    int output[2];
    if (pipe(output) != 0)
        return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    char* const arguments[] = {const_cast<char*>(path.c_str()), nullptr};
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    std::string printed;
    char buffer[64];
    for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;)
        printed.append(buffer, static_cast<std::size_t>(got));
    close(output[0]);
    int status = 0;
    if (spawned == 0)
        waitpid(child, &status, 0);
    if (spawned != 0 || printed.empty() || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return 0;
    const long long started = static_cast<long long>(start.tv_sec) * 1000000000LL + start.tv_nsec;
    return static_cast<double>(std::stoll(printed) - started) / 1e9;
}

// From exec to the first picture: the game's start-up, with its own libraries, against a bare
// engine scene (a program of the engine's libraries only, with the same window, media and
// floor), one of each in every round so that both see the same load on the machine. The ratio
// is the median of the rounds' ratios, which a machine whose speed drifts between rounds leaves
// alone; the times are medians too: a loaded machine makes single starts slow either way.
void BM_StartupMatchVsBareScene(benchmark::State& state) {
    std::vector<double> bare, match, ratios;
    for (auto _ : state) {
        bare.push_back(secondsToFirstPicture("bare_scene_probe"));
        match.push_back(secondsToFirstPicture("game_start_probe"));
        ratios.push_back(match.back() / bare.back());
    }
    const auto median = [](std::vector<double> values) {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    };
    if (std::count(bare.begin(), bare.end(), 0.0) + std::count(match.begin(), match.end(), 0.0) > 0)
        return state.SkipWithError("a probe program failed to start or to draw");
    state.counters["bare_ms"] = 1000 * median(bare);
    state.counters["match_ms"] = 1000 * median(match);
    state.counters["match_over_bare"] = median(ratios);
}
BENCHMARK(BM_StartupMatchVsBareScene)->Unit(benchmark::kMillisecond)->Iterations(30)->UseRealTime();

// The game's start-up up to its first frame against the controller layer's start alone, which
// the program does after that frame (with the audio output, from the device module); the first
// start of SDL in the process, before the rounds, is reported apart (it loads SDL's device
// libraries).
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
    state.counters["with_over_without"] = (gameSeconds + controllerSeconds) / gameSeconds;
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

        Player& puncher = *app->getGame()->player1;
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
        game = app->getGame();
        game->showInputPanels();
        game->showHitboxes();
        for (int row = 0; row < 2 * int(InputDataDisplay::maxRows); ++row) {
            InputFrame input;
            input.direction = row % 2 ? Direction::DownLeft : Direction::Right;
            input.pressed[row % 4 == 0] = true;
            game->panels[0].addFrame(input);
            game->panels[1].addFrame(input);
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

// How fast the busy match with every display on can be drawn against the bare scene, pictures
// back to back, in rounds of one run of each so that both see the same load on the machine: the
// cost of the game's pictures, not the rate the program shows them at.
void BM_FrameRateMatchVsBareScene(benchmark::State& state) {
    const int frames = 300;
    double bare = 0;
    double match = 0;
    for (auto _ : state) {
        bare += secondsPerFrame(false, frames);
        match += secondsPerFrame(true, frames);
    }
    state.counters["bare_possible_per_s"] = state.iterations() / bare;
    state.counters["match_possible_per_s"] = state.iterations() / match;
    state.counters["match_over_bare"] = bare / match;
}
BENCHMARK(BM_FrameRateMatchVsBareScene)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

} // namespace
