// What drives a scene's match: the mode the options ask for.
#include "app/MatchScene.h"

#include <Ogre.h>

#include "app/LocalPlay.h"
#include "app/NetPlay.h"
#include "app/Session.h"
#include "app/SpectatorPlay.h"
#include "match/Game.h"
#include "match/Match.h"
#include "match/SyncTest.h"
#include "render/ConnectionDisplay.h"
#include "render/MatchView.h"
#include "replay/ReplayPlayback.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "training/TrainingPlay.h"

namespace {

const char* const windowTitle = "Vorrak projekt";

} // namespace

std::string MatchScene::title() const {
    if (!options.watchHost.empty())
        return SpectatorPlay::title(options.watchHost, static_cast<std::uint16_t>(options.port));
    if (!options.host && options.joinHost.empty())
        return windowTitle;
    return NetPlay::title(options.host, options.joinHost, static_cast<std::uint16_t>(options.port));
}

// Online play, watching it, or one of the local modes.
std::unique_ptr<MatchDriver> MatchScene::createDriver() {
    if (options.host || !options.joinHost.empty())
        return createOnlineDriver();
    // Online only the confirmed match names a winner; everywhere else every step is confirmed.
    match->onMatchEnd = [this](const RoundState& round) { reportResult(round); };
    if (!options.watchHost.empty())
        return createSpectatorDriver();
    return createLocalDriver();
}

std::unique_ptr<MatchDriver> MatchScene::createOnlineDriver() {
    NetPlay::Setup setup;
    setup.host = options.host;
    setup.hostName = options.joinHost;
    setup.port = static_cast<std::uint16_t>(options.port);
    setup.inputDelay = options.inputDelay;
    setup.joinTimeout = options.joinTimeout;
    setup.silenceLimit = options.silenceLimit;
    const Lineup chosen = lineup();
    setup.fighter = chosen.fighters[options.host ? 0 : 1];
    setup.stage = chosen.stage;
    setup.mediaFolder = session.getResourceDir() + "/media";
    setup.cast = [this](const Lineup& cast) { castMatch(cast); };
    setup.setTitle = [this](const std::string& title) { session.setTitle(title); };
    setup.rules = matchRules();
    setup.onMatchEnd = [this](const RoundState& round) { reportResult(round); };
    setup.spectators = options.host ? options.spectators : 0;
    setup.rendezvous = options.rendezvous;
    if (!options.recordPath.empty())
        setup.makeRecorder = [this] { return createRecorder(); };
    auto created = std::make_unique<NetPlay>(*match, std::move(setup));
    connectionFigures = [play = created.get()] { return play->connection(); };
    return created;
}

// The spectator plays by the host's rules and records from where it joined.
std::unique_ptr<MatchDriver> MatchScene::createSpectatorDriver() {
    SpectatorPlay::Setup setup;
    setup.hostName = options.watchHost;
    setup.port = static_cast<std::uint16_t>(options.port);
    setup.mediaFolder = session.getResourceDir() + "/media";
    setup.cast = [this](const Lineup& cast) { castMatch(cast); };
    setup.joinTimeout = options.joinTimeout;
    setup.silenceLimit = options.silenceLimit;
    setup.delaySteps = static_cast<int>(options.watchDelay * 60 + 0.5);
    setup.setTitle = [this](const std::string& title) { session.setTitle(title); };
    if (!options.recordPath.empty())
        setup.makeRecorder = [this](const MatchRules& rules, const MatchState* start,
                                    int firstStep) {
            return createRecorder(&rules, start, firstStep);
        };
    auto created = std::make_unique<SpectatorPlay>(*match, std::move(setup));
    connectionFigures = [play = created.get()] { return play->connection(); };
    return created;
}

// The sync test, the lab, a replay, or the plain game, recorded or not.
std::unique_ptr<MatchDriver> MatchScene::createLocalDriver() {
    if (options.syncTestSteps > 0)
        return std::make_unique<SyncTest>(*match, options.syncTestSteps);
    if (options.training)
        return std::make_unique<TrainingPlay>(*match, *game, *matchView, std::move(replay));
    if (replay)
        return std::make_unique<ReplayPlayback>(*match, std::move(*replay));
    if (!options.recordPath.empty())
        return std::make_unique<LocalPlay>(*match, createRecorder());
    return std::make_unique<LocalPlay>(*match);
}

// A write that fails shows on the screen and in the log at once; the match plays on.
std::unique_ptr<ReplayRecorder>
MatchScene::createRecorder(const MatchRules* rules, const MatchState* start, int firstStep) {
    auto created =
        std::make_unique<ReplayRecorder>(options.recordPath, lineup(), replayMode(),
                                         rules ? *rules : matchRules(), start, firstStep);
    created->onWriteFailure = [this](const std::string& line) {
        session.logCritical(line);
        notice(line);
    };
    recorder = created.get();
    return created;
}

void MatchScene::notice(const std::string& line) {
    recordingNotice = std::make_unique<ConnectionDisplay>(1);
    recordingNotice->show(line);
}
