#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <Ogre.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "app/MatchScene.h"
#include "app/Session.h"
#include "app/programDirectory.h"
#include "frontdoor/FrontDoor.h"
#include "frontdoor/KeptSettings.h"
#include "frontdoor/MenuRun.h"
#include "frontdoor/MenuScreens.h"
#include "frontdoor/MenuSession.h"
#include "input/StepInput.h"
#include "match/MatchDriver.h"
#include "support/BenchEngine.h"

namespace {

using Clock = std::chrono::steady_clock;

double residentMegabytes() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The front door's two scenes as it makes them: the title over its idle match, and a versus
// match of the fighters and stage given.
struct FrontDoorScenes {
    explicit FrontDoorScenes(Session& session)
        : session(session), folder(std::filesystem::temp_directory_path() / "vorrak-bench"),
          kept(Settings{}, SettingsFile((folder / "settings.cfg").string()), Bindings::defaults(),
               ""),
          screens(FrontDoor::fightersOf(session.getResourceDir() + "/media"),
                  FrontDoor::stagesOf(session.getResourceDir() + "/media"), kept,
                  (folder / "replays").string(), session.getResourceDir() + "/media") {}

    std::unique_ptr<MatchScene> title() {
        Options backdrop;
        backdrop.vsync = false;
        auto scene = std::make_unique<MatchScene>(session, backdrop);
        MatchScene* const made = scene.get();
        scene->wrapDriver([this, made](std::unique_ptr<MatchDriver> inner) {
            return std::make_unique<MenuRun>(std::move(inner), session, *made, screens, choices,
                                             Screen::Title, outcome);
        });
        scene->createMatch();
        return scene;
    }

    std::unique_ptr<MatchScene> match(const char* second, const char* stage) {
        Options versus;
        versus.vsync = false;
        versus.versus = true;
        versus.fighters = {"sora", second};
        versus.stage = stage;
        auto scene = std::make_unique<MatchScene>(session, versus);
        scene->createMatch();
        return scene;
    }

    Session& session;
    std::filesystem::path folder;
    KeptSettings kept;
    MenuScreens screens;
    MenuSession choices;
    Next outcome = Next::Quit;
};

// From the last confirmation to the next scene's first picture, as the session switches: the
// scene in place ended and dropped, the next made, its first step and its picture drawn.
template <typename Make>
std::unique_ptr<MatchScene> switchTo(Session& session, std::unique_ptr<MatchScene>& from,
                                     Make make, std::vector<double>& milliseconds) {
    const Clock::time_point confirmed = Clock::now();
    from->end();
    session.release();
    from.reset();
    std::unique_ptr<MatchScene> next = make();
    session.listen(*next);
    next->driver().step(StepInput{});
    session.getRoot()->renderOneFrame();
    milliseconds.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - confirmed).count());
    return next;
}

// 50 round trips title, match, title on one session, the match's fighters and stage changing
// every trip: the time to the match's first picture and back to the title's (medians), and the
// memory held after the first trip and after the last.
void BM_SessionRoundTrips(benchmark::State& state) {
    BenchEngine::stop();
    for (auto _ : state) {
        Session session(GameFiles::beside(programDirectory()));
        Session::Start start;
        start.title = "Vorrak projekt";
        start.vsync = false;
        start.hearsSound = false;
        session.startEngine(start);
        FrontDoorScenes scenes(session);
        std::unique_ptr<MatchScene> shown = scenes.title();
        session.listen(*shown);
        session.getRoot()->renderOneFrame();
        std::vector<double> toMatch, toTitle;
        double afterFirst = 0;
        for (int trip = 0; trip < 50; ++trip) {
            const bool brann = trip % 2 == 1;
            shown = switchTo(session, shown, [&] {
                return scenes.match(brann ? "brann" : "sora", brann ? "courtyard" : "dojo");
            }, toMatch);
            shown = switchTo(session, shown, [&] { return scenes.title(); }, toTitle);
            if (trip == 0)
                afterFirst = residentMegabytes();
        }
        const double afterLast = residentMegabytes();
        state.counters["to_match_ms"] = median(toMatch);
        state.counters["to_title_ms"] = median(toTitle);
        state.counters["worst_to_match_ms"] = *std::max_element(toMatch.begin(), toMatch.end());
        state.counters["rss_first_MB"] = afterFirst;
        state.counters["rss_last_MB"] = afterLast;
        state.counters["rss_growth_pct"] = 100 * (afterLast - afterFirst) / afterFirst;
        shown->end();
        session.release();
        shown.reset();
        std::filesystem::remove_all(scenes.folder);
    }
}
BENCHMARK(BM_SessionRoundTrips)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
