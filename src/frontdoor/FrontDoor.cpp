#include "frontdoor/FrontDoor.h"

#include <sys/stat.h>

#include <cstdio>

#include "anim/CharacterData.h"
#include "app/Application.h"
#include "app/SignalWatcher.h"
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
    : files(std::move(files)), options(std::move(options)), startSettings(kept.settings),
      kept(std::move(kept)), logNotes(std::move(logNotes)),
      fighters(fightersOf(this->files.resources + "/media")),
      stages(stagesOf(this->files.resources + "/media")),
      screens(fighters, stages, this->kept, ReplayFolder::defaultFolder()) {
    session.fighters = this->options.fighters;
    session.stage = this->options.stage;
    session.cpuLevel = this->options.cpu.level > 0 ? this->options.cpu.level : session.cpuLevel;
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

int FrontDoor::run(const Play& play) {
    Screen start = Screen::Title;
    for (;;) {
        RunResult result;
        Next next = runMenus(start, play, result);
        if (result.status)
            return result.status;
        while ((next == Next::Play || next == Next::Rematch) && !SignalWatcher::caught()) {
            next = runMatch(play, result);
            if (result.status)
                break;
        }
        if (SignalWatcher::caught())
            return 0;
        // A failed online match or replay goes back to its screen, saying why; any other
        // failure ends the program, as it would without the menus.
        if (result.status && !session.online() && !session.replay())
            return result.status;
        if (result.status) {
            start = session.online() ? Screen::Online : Screen::Replays;
            (session.online() ? screens.online.problem : screens.replays.problem) = result.failure;
            continue;
        }
        if (next == Next::Quit)
            return 0;
        start = next == Next::Select    ? Screen::Select
                : next == Next::Replays ? Screen::Replays
                                        : Screen::Title;
        screens.replays.problem.clear();
    }
}

Next FrontDoor::runMenus(Screen start, const Play& play, RunResult& result) {
    Options backdrop = withSettings();
    backdrop.fighters = session.fighters;
    backdrop.stage = session.stage;
    backdrop.versus = false;
    backdrop.cpu.level = 0;
    Application app(files, backdrop);
    logNotesTo(app, "the menus");
    Next outcome = Next::Quit;
    app.wrapDriver([&](std::unique_ptr<MatchDriver> inner) -> std::unique_ptr<MatchDriver> {
        return std::make_unique<MenuRun>(std::move(inner), app, screens, session, start, outcome);
    });
    kept.bindingsChanged = [&app](const Bindings& bindings) { app.rebind(bindings); };
    result = play(app);
    kept.bindingsChanged = nullptr;
    return result.status ? Next::Quit : outcome;
}

Next FrontDoor::runMatch(const Play& play, RunResult& result) {
    Options match = matchOptions();
    ReplayFolder folder(kept.settings.replayLimit);
    // A folder that takes no recording leaves the match unrecorded, not unplayed.
    std::string notRecorded;
    try {
        if (recordable(match))
            match.recordPath = folder.newRecording();
    } catch (const FileError& e) {
        notRecorded = std::string(e.what()) + "; the match is not recorded";
    }
    const MatchMenus::Kind kind = session.replay() ? MatchMenus::Kind::Replay
                                  : session.mode == MenuSession::Mode::Watch
                                      ? MatchMenus::Kind::Watch
                                  : session.online() ? MatchMenus::Kind::Online
                                                     : MatchMenus::Kind::Local;
    Next outcome = Next::Quit;
    {
        Application app(files, match);
        logNotesTo(app, modeName());
        if (!notRecorded.empty())
            app.noteInLog(notRecorded);
        app.wrapDriver([&](std::unique_ptr<MatchDriver> inner) -> std::unique_ptr<MatchDriver> {
            return std::make_unique<MatchMenus>(std::move(inner), app, kept, kind, outcome);
        });
        kept.bindingsChanged = [&app](const Bindings& bindings) { app.rebind(bindings); };
        result = play(app);
        kept.bindingsChanged = nullptr;
    }
    if (!match.recordPath.empty()) {
        removeIfEmpty(match.recordPath);
        folder.prune();
    }
    return outcome;
}

std::string FrontDoor::modeName() const {
    using Mode = MenuSession::Mode;
    switch (session.mode) {
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
    changed.continueLog = runs > 0;
    return changed;
}

Options FrontDoor::matchOptions() const {
    Options match = withSettings();
    match.fighters = session.fighters;
    match.stage = session.stage;
    match.cpu.level = 0;
    using Mode = MenuSession::Mode;
    switch (session.mode) {
    case Mode::Versus:
        match.versus = true;
        break;
    case Mode::Computer:
        match.versus = true;
        match.cpu.level = session.cpuLevel;
        match.cpu.player = session.cpuPlayer;
        break;
    case Mode::Training:
        match.training = true;
        break;
    case Mode::Host:
        match.versus = true;
        match.host = true;
        match.port = std::stoi(session.hostPort);
        break;
    case Mode::Join:
        match.versus = true;
        joinAddress(session.joinAddress, match.joinHost, match);
        break;
    case Mode::Watch:
        joinAddress(session.watchAddress, match.watchHost, match);
        break;
    case Mode::Replay:
        match.replayPath = session.replayPath;
        break;
    case Mode::ReplayLab:
        match.replayPath = session.replayPath;
        match.training = true;
        break;
    }
    // Online this side's keys play the fighter Player 1 chose, on the guest's side when
    // joining; the other side's choice comes in the handshake.
    if (session.mode == Mode::Join)
        match.fighters[1] = session.fighters[0];
    return match;
}

// The lab's rewinds cannot be recorded as a plain run of steps; a spectator and a replay play
// someone else's match.
bool FrontDoor::recordable(const Options& match) {
    return !match.training && match.replayPath.empty() && match.watchHost.empty();
}

// Which run of the session the log lines that follow are of; the first run's also the settings
// file's word.
void FrontDoor::logNotesTo(Application& app, const std::string& what) {
    app.noteInLog("Front door: run " + std::to_string(++runs) + ", " + what);
    if (runs > 1)
        return;
    for (const std::string& note : logNotes)
        app.noteInLog(note);
}
