// The game as the input-lag benchmark measures it: the program itself, started with the same
// options, that also prints its window and the times of every pass of its frame loop on stdout
// (DRAWN and SWAPPED 0 when it drew no picture), so the benchmark can tell where each millisecond of a press's lag went.
// Given --engine-timer first, its frame loop keeps time as it did before, by the engine's frame
// timer (FrameLoop::Setup). Times are the system-wide monotonic clock's, in nanoseconds:
//   window ID
//   pass DUE WOKE STEPPED STEPS DRAWN SWAPPED

#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include <Ogre.h>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/FramePass.h"
#include "app/XErrorHandlers.h"
#include "app/programDirectory.h"

namespace {

long long nanoseconds(FramePass::Time time) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

} // namespace

int main(int argc, char** argv) {
    const bool engineTimer = argc > 1 && std::string(argv[1]) == "--engine-timer";
    if (engineTimer) {
        argv[1] = argv[0];
        --argc;
        ++argv;
    }
    Options options;
    if (const std::optional<int> status = parseCommandLine(argc, argv, options))
        return *status;
    XErrorHandlers::install();
    Application app(programDirectory(), options);
    bool windowTold = false;
    app.observeFrames([&app, &windowTold](const FramePass& pass) {
        if (!windowTold) {
            unsigned long window = 0;
            app.getWindow()->getCustomAttribute("WINDOW", &window);
            std::printf("window %lu\n", window);
            windowTold = true;
        }
        std::printf("pass %lld %lld %lld %d %lld %lld\n", nanoseconds(pass.due),
                    nanoseconds(pass.woke), nanoseconds(pass.stepped), pass.steps,
                    pass.pictured ? nanoseconds(pass.drawn) : 0,
                    pass.pictured ? nanoseconds(pass.swapped) : 0);
        std::fflush(stdout);
    }, engineTimer);
    try {
        app.run();
        app.shutdown();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "game_lag_probe: %s\n", e.what());
        return 1;
    }
    return 0;
}
