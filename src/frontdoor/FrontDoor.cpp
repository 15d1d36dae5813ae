#include "frontdoor/FrontDoor.h"

#include <sys/stat.h>

#include <cstdio>

#include "anim/CharacterData.h"
#include "app/MatchScene.h"
#include "files/TextFile.h"
#include "frontdoor/MatchMenus.h"
#include "frontdoor/MenuRun.h"
#include "frontdoor/OnlineScreen.h"
#include "replay/ReplayFolder.h"
#include "roster/DataFileError.h"
#include "roster/Roster.h"
#include "roster/StageFile.h"

namespace {

// A recording that never began leaves the empty file the folder made for it.
void removeIfEmpty(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size == 0)
        std::remove(path.c_str());
}

// HOST or HOST:PORT, as checked by the online screen, into the options.
void joinAddress(const std::string& address, std::string& host, Options& options) {
    const std::size_t colon = address.find(':');
    host = address.substr(0, colon);
    if (colon != std::string::npos)
        options.port = std::stoi(address.substr(colon + 1));
}

} // namespace

FrontDoor::FrontDoor(GameFiles files, Options options, KeptSettings kept,
                     std::vector<std::string> logNotes)
    : options(std::move(options)), startSettings(kept.settings), kept(std::move(kept)),
      logNotes(std::move(logNotes)), fighters(fightersOf(files.resources + "/media")),
      stages(stagesOf(files.resources + "/media")),
      screens(fighters, stages, this->kept, ReplayFolder::defaultFolder(),
              files.resources + "/media"),
      session(std::move(files)) {
    choices.fighters = this->options.fighters;
    choices.stage = this->options.stage;
    choices.cpuLevel = this->options.cpu.level > 0 ? this->options.cpu.level : choices.cpuLevel;
    // The player started from the desktop reads no log: a damaged file is said on the title.
    screens.title.problems = this->logNotes;
    if (!this->options.bindingsProblem.empty()) {
        const std::string line = "Keys: " + this->options.bindingsProblem +
                                 "; the game's own keys play until you change keys in Settings";
        screens.title.problems.push_back(line);
        this->logNotes.push_back(line);
    }
}

// A fighter whose file cannot be read is left out here; choosing among the others still works,
// and the default fighter's damage ends start-up as it always did.
std::vector<RosterEntry> FrontDoor::fightersOf(const std::string& media) {
    const Roster roster(media);
    std::vector<RosterEntry> entries;
    for (const std::string& name : roster.fighters()) {
        try {
            const auto fighter = roster.loadFighter(name);
            const int standing = fighter->getAnimation(PlayerState::Idle).currentSprite();
            entries.push_back({name, fighter->shownName,
                               roster.fighterFolder(name) + "/" +
                                   fighter->sprites[static_cast<std::size_t>(standing)].image});
        } catch (const DataFileError&) {
        }
    }
    return entries;
}

std::vector<RosterEntry> FrontDoor::stagesOf(const std::string& media) {
    const Roster roster(media);
    std::vector<RosterEntry> entries;
    for (const std::string& name : roster.stages()) {
        try {
            entries.push_back({name, roster.loadStage(name).name, ""});
        } catch (const DataFileError&) {
        }
    }
    return entries;
}

FrontDoor::~FrontDoor() = default;

int FrontDoor::run(const Guard& reporting) {
    guard = reporting;
    kept.bindingsChanged = [this](const Bindings& bindings) { session.rebind(bindings); };
    std::unique_ptr<MatchScene> first;
    const SceneSwitch::Ending opened = guard([this, &first] {
        first = menusScene(Screen::Title);
        Session::Start start;
        start.title = first->title();
        start.vsync = withSettings().vsync;
        start.hiddenUntilInput = true;
        start.imageFolders = first->imageFolders();
        start.sound = withSettings().sound;
        start.bindings = kept.bindings;
        session.startEngine(start);
        first->createMatch();
    });
    if (opened.status)
        return opened.status;
    session.watchSignals(true);
    const SceneSwitch::Ending last = session.run(
        std::move(first), [this](const SceneSwitch::Ending& ending) { return after(ending); },
        guard);
    closeRecording();
    const SceneSwitch::Ending closed = guard([this] { session.shutdown(); });
    if (status)
        return status;
    // A failure of the scene in place when the window closed or a signal came.
    return last.status ? last.status : closed.status;
}

std::unique_ptr<Scene> FrontDoor::after(const SceneSwitch::Ending& ending) {
    const bool matchEnded = playing;
    closeRecording();
    if (ending.status) {
        // A failed online match or replay goes back to its screen, saying why; any other
        // failure ends the program, as it would without the menus.
        if (!matchEnded || (!choices.online() && !choices.replay())) {
            status = ending.status;
            return nullptr;
        }
        (choices.online() ? screens.online.problem : screens.replays.problem) = ending.failure;
        return startMenus(choices.online() ? Screen::Online : Screen::Replays);
    }
    if (outcome == Next::Quit)
        return nullptr;
    if (outcome == Next::Play || outcome == Next::Rematch)
        return startMatch();
    screens.replays.problem.clear();
    return startMenus(outcome == Next::Select    ? Screen::Select
                      : outcome == Next::Replays ? Screen::Replays
                                                 : Screen::Title);
}

std::unique_ptr<Scene> FrontDoor::startMenus(Screen start) {
    std::unique_ptr<MatchScene> made;
    const SceneSwitch::Ending failed = guard([&] {
        made = menusScene(start);
        made->createMatch();
    });
    if (failed.status) {
        status = failed.status;
        return nullptr;
    }
    return made;
}

// A match that cannot start (a replay refused, an online match that finds nobody) ends as if it
// had failed while playing.
std::unique_ptr<Scene> FrontDoor::startMatch() {
    std::unique_ptr<MatchScene> made;
    const SceneSwitch::Ending failed = guard([&] { made = matchScene(); });
    if (failed.status) {
        made.reset();
        return after(failed);
    }
    return made;
}

std::unique_ptr<MatchScene> FrontDoor::menusScene(Screen start) {
    Options backdrop = withSettings();
    backdrop.fighters = choices.fighters;
    backdrop.stage = choices.stage;
    backdrop.versus = false;
    backdrop.cpu.level = 0;
    playing = false;
    outcome = Next::Quit;
    logScene("the menus");
    auto scene = std::make_unique<MatchScene>(session, backdrop);
    MatchScene* const made = scene.get();
    scene->wrapDriver([this, made, start](std::unique_ptr<MatchDriver> inner) {
        return std::make_unique<MenuRun>(std::move(inner), session, *made, screens, choices, start,
                                         outcome);
    });
    scene->prepare();
    session.setTitle(scene->title());
    session.setVsync(backdrop.vsync);
    session.setVolume(backdrop.sound.volume);
    return scene;
}

std::unique_ptr<MatchScene> FrontDoor::matchScene() {
    Options match = matchOptions();
    playing = true;
    outcome = Next::Quit;
    logScene(modeName());
    // A folder that takes no recording leaves the match unrecorded, not unplayed; the
    // player is told on the screen.
    std::string notRecorded;
    try {
        if (recordable(match))
            match.recordPath = ReplayFolder(kept.settings.replayLimit).newRecording();
    } catch (const FileError& e) {
        notRecorded = std::string(e.what()) + "; the match is not recorded";
        session.noteInLog(notRecorded);
    }
    recordPath = match.recordPath;
    const MatchMenus::Kind kind = choices.replay() ? MatchMenus::Kind::Replay
                                  : choices.mode == MenuSession::Mode::Watch
                                      ? MatchMenus::Kind::Watch
                                  : choices.online() ? MatchMenus::Kind::Online
                                                     : MatchMenus::Kind::Local;
    session.setVsync(match.vsync);
    session.setVolume(match.sound.volume);
    auto scene = std::make_unique<MatchScene>(session, match);
    MatchScene* const made = scene.get();
    scene->wrapDriver([this, made, kind](std::unique_ptr<MatchDriver> inner) {
        return std::make_unique<MatchMenus>(std::move(inner), session, *made, kept,
                                            kind, outcome);
    });
    scene->prepare();
    scene->createMatch();
    if (!notRecorded.empty())
        scene->notice(notRecorded);
    return scene;
}

void FrontDoor::closeRecording() {
    if (recordPath.empty())
        return;
    removeIfEmpty(recordPath);
    recordPath.clear();
    ReplayFolder(kept.settings.replayLimit).prune();
}

std::string FrontDoor::modeName() const {
    using Mode = MenuSession::Mode;
    switch (choices.mode) {
    case Mode::Versus:
        return "versus";
    case Mode::Computer:
        return "versus the computer";
    case Mode::Training:
        return "training";
    case Mode::Host:
        return "hosting online";
    case Mode::Join:
        return "joining online";
    case Mode::Watch:
        return "watching online";
    case Mode::Replay:
        return "a replay";
    case Mode::ReplayLab:
        return "a replay in the lab";
    }
    return {};
}

Options FrontDoor::withSettings() const {
    Options changed = options;
    const Settings& now = kept.settings;
    if (now.volume != startSettings.volume)
        changed.sound.volume = now.volume;
    if (now.vsync != startSettings.vsync)
        changed.vsync = now.vsync;
    if (now.rounds != startSettings.rounds)
        changed.rounds = now.rounds;
    if (now.inputDelay != startSettings.inputDelay)
        changed.inputDelay = now.inputDelay;
    changed.bindings = kept.bindings;
    return changed;
}

Options FrontDoor::matchOptions() const {
    Options match = withSettings();
    match.fighters = choices.fighters;
    match.stage = choices.stage;
    match.cpu.level = 0;
    using Mode = MenuSession::Mode;
    switch (choices.mode) {
    case Mode::Versus:
        match.versus = true;
        break;
    case Mode::Computer:
        match.versus = true;
        match.cpu.level = choices.cpuLevel;
        match.cpu.player = choices.cpuPlayer;
        break;
    case Mode::Training:
        match.training = true;
        break;
    case Mode::Host:
        match.versus = true;
        match.host = true;
        match.port = std::stoi(choices.hostPort);
        break;
    case Mode::Join:
        match.versus = true;
        joinAddress(choices.joinAddress, match.joinHost, match);
        break;
    case Mode::Watch:
        joinAddress(choices.watchAddress, match.watchHost, match);
        break;
    case Mode::Replay:
        match.replayPath = choices.replayPath;
        break;
    case Mode::ReplayLab:
        match.replayPath = choices.replayPath;
        match.training = true;
        break;
    }
    // Online this side's keys play the fighter Player 1 chose, on the guest's side when
    // joining; the other side's choice comes in the handshake.
    if (choices.mode == Mode::Join)
        match.fighters[1] = choices.fighters[0];
    return match;
}

// The lab's rewinds cannot be recorded as a plain run of steps; a spectator and a replay play
// someone else's match.
bool FrontDoor::recordable(const Options& match) {
    return !match.training && match.replayPath.empty() && match.watchHost.empty();
}

void FrontDoor::logScene(const std::string& what) {
    session.noteInLog("Front door: scene " + std::to_string(++scenes) + ", " + what);
    if (scenes > 1)
        return;
    for (const std::string& note : logNotes)
        session.noteInLog(note);
}
