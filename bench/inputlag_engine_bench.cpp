#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <X11/keysym.h>
#include <benchmark/benchmark.h>

#include "support/BenchEngine.h"
#include "support/GameProcess.h"
#include "support/KeyToPicture.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double stepMs = 1000.0 / 60;

double ms(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double loadAverage() {
    double load = -1;
    std::ifstream("/proc/loadavg") >> load;
    return load;
}

// How many presses each run makes: LAG_PRESSES, or 200.
int presses() {
    const char* given = std::getenv("LAG_PRESSES");
    return given ? std::max(10, std::atoi(given)) : 200;
}

struct Setup {
    const char* name;
    std::vector<std::string> options;
    // Online: the guest, started after the measured host, with these options (the port added).
    bool online = false;
    int delay = 0;
};

// Where a press's lag went: from the press to the pass that ran its step (waiting for the step),
// the steps of that pass, the picture's drawing, its swap, and from the swap's return to the
// picture's arrival at the window (shown).
struct Parts {
    double wait = 0, step = 0, draw = 0, swap = 0, shown = 0;
};

// The traced pass that drew the picture that arrived at `pictured`: the last one whose swap
// returned before.
const FramePass* passOf(const std::vector<FramePass>& passes, Clock::time_point pictured) {
    const FramePass* found = nullptr;
    for (const FramePass& pass : passes)
        if (pass.pictured && pass.swapped <= pictured)
            found = &pass;
    return found;
}

double percentile(std::vector<double> values, double share) {
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    std::nth_element(values.begin(), values.begin() + static_cast<long>(at), values.end());
    return values[at];
}

// The share of the lags in the most common window one step wide: 1 when the lag only varies
// with the moment of the press within its step.
double steadiness(std::vector<double> lags) {
    std::sort(lags.begin(), lags.end());
    std::size_t most = 0;
    for (std::size_t first = 0, last = 0; first < lags.size(); ++first) {
        while (last < lags.size() && lags[last] < lags[first] + stepMs)
            ++last;
        most = std::max(most, last - first);
    }
    return static_cast<double>(most) / static_cast<double>(lags.size());
}

// The local medians measured so far in this run, for the online rows to compare with.
double localMedianMs = 0;

// Presses of the first player's punch on the game started with the setup's options, each from
// the fighter standing, and the figures of their lags.
void BM_InputLag(benchmark::State& state, const Setup& setup) {
    BenchEngine::stop();
    for (auto _ : state) {
        const double loadBefore = loadAverage();
        std::mt19937 random(34);
        const int port = std::uniform_int_distribution<int>(20000, 60000)(random);
        std::vector<std::string> options = setup.options;
        if (setup.online)
            options.insert(options.end(), {"--host", std::to_string(port), "--delay",
                                           std::to_string(setup.delay)});
        GameProcess game("game_lag_probe", options, true);
        std::unique_ptr<GameProcess> guest;
        if (setup.online)
            guest = std::make_unique<GameProcess>(
                "vorrak",
                std::vector<std::string>{"--join", "127.0.0.1:" + std::to_string(port), "--delay",
                                         std::to_string(setup.delay)},
                false);
        const unsigned long window = game.window(30);
        if (!window)
            return state.SkipWithError("the game did not show its window");
        // The guest's window comes on top of the host's; the match begins once they met.
        std::this_thread::sleep_for(std::chrono::seconds(setup.online ? 4 : 1));
        KeyToPicture probe(window);
        if (!probe.learnStanding(3))
            return state.SkipWithError("the game drew no picture");

        std::vector<double> lags;
        std::vector<KeyToPicture::Press> made;
        // A press lost in a busy machine's hiccup is counted, not measured.
        const int count = presses();
        int missed = 0;
        while (static_cast<int>(made.size()) < count && missed < count / 10 + 3) {
            const std::optional<KeyToPicture::Press> press = probe.press(XK_j, random);
            if (!press) {
                ++missed;
                continue;
            }
            made.push_back(*press);
            lags.push_back(ms(press->pictured - press->pressed));
        }
        if (static_cast<int>(made.size()) < count)
            return state.SkipWithError("too many presses went unseen");
        const std::vector<FramePass> passes = game.passes();
        Parts parts;
        int matched = 0;
        for (const KeyToPicture::Press& press : made) {
            const FramePass* pass = passOf(passes, press.pictured);
            if (!pass || pass->woke < press.pressed)
                continue;
            ++matched;
            parts.wait += ms(pass->woke - press.pressed);
            parts.step += ms(pass->stepped - pass->woke);
            parts.draw += ms(pass->drawn - pass->stepped);
            parts.swap += ms(pass->swapped - pass->drawn);
            parts.shown += ms(press.pictured - pass->swapped);
        }
        const double median = percentile(lags, 0.5);
        if (setup.name == std::string("local"))
            localMedianMs = median;
        state.counters["median_ms"] = median;
        state.counters["p95_ms"] = percentile(lags, 0.95);
        state.counters["worst_ms"] = *std::max_element(lags.begin(), lags.end());
        state.counters["steady_pct"] = 100 * steadiness(lags);
        if (setup.online && localMedianMs > 0)
            state.counters["steps_over_local"] = (median - localMedianMs) / stepMs;
        if (matched > 0) {
            state.counters["wait_ms"] = parts.wait / matched;
            state.counters["step_ms"] = parts.step / matched;
            state.counters["draw_ms"] = parts.draw / matched;
            state.counters["swap_ms"] = parts.swap / matched;
            state.counters["shown_ms"] = parts.shown / matched;
        }
        state.counters["presses"] = static_cast<double>(lags.size());
        state.counters["missed"] = missed;
        state.counters["load"] = std::max(loadBefore, loadAverage());
    }
}

const Setup setups[] = {
    {"local_before", {"--engine-timer"}},
    {"local", {}},
    {"vsync_off", {"--vsync", "off"}},
    {"online_delay_1", {}, true, 1},
    {"online_delay_2", {}, true, 2},
};

const bool registered = [] {
    for (const Setup& setup : setups)
        benchmark::RegisterBenchmark((std::string("BM_InputLag/") + setup.name).c_str(),
                                     BM_InputLag, setup)
            ->Iterations(1)
            ->Unit(benchmark::kSecond)
            ->UseRealTime();
    return true;
}();

} // namespace
