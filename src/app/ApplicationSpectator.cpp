#include "app/Application.h"

#include <Ogre.h>
#include <X11/Xlib.h>

#include "app/SpectatorPlay.h"
#include "match/Game.h"
#include "replay/ReplayRecorder.h"

// The spectator plays by the host's rules and records from where it joined.
std::unique_ptr<MatchDriver> Application::createSpectatorDriver() {
    SpectatorPlay::Setup setup;
    setup.hostName = options.watchHost;
    setup.port = static_cast<std::uint16_t>(options.port);
    setup.mediaFolder = resourceDir + "/media";
    setup.cast = [this](const Lineup& cast) { castMatch(cast); };
    setup.joinTimeout = options.joinTimeout;
    setup.silenceLimit = options.silenceLimit;
    setup.delaySteps = static_cast<int>(options.watchDelay * 60 + 0.5);
    setup.setTitle = [this](const std::string& title) {
        unsigned long handle = 0;
        window->getCustomAttribute("WINDOW", &handle);
        XStoreName(display, handle, title.c_str());
        XFlush(display);
    };
    if (!options.recordPath.empty())
        setup.makeRecorder = [this](const MatchRules& rules, const MatchState* start,
                                    int firstStep) {
            return createRecorder(&rules, start, firstStep);
        };
    auto created = std::make_unique<SpectatorPlay>(*match, std::move(setup));
    connectionFigures = [play = created.get()] { return play->connection(); };
    return created;
}
