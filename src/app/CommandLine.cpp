#include "app/CommandLine.h"

#include <iostream>

#include <CLI/CLI.hpp>

#include "app/BindingsOptions.h"
#include "app/CpuOptions.h"
#include "app/ExportOptions.h"
#include "app/FrameOptions.h"
#include "app/LobbyPlayOptions.h"
#include "app/GameFiles.h"
#include "app/OnlineOptions.h"
#include "app/PlayOptions.h"
#include "app/RosterOptions.h"
#include "app/SoundOptions.h"
#include "app/VersusOptions.h"
#include "app/programDirectory.h"

namespace {

const char* const usageLine =
    "Usage: vorrak [--record FILE | --replay FILE [--export OUT [--size WxH] [--from STEP] "
    "[--to STEP] [--boxes] [--inputs]] | --sync-test N | --frame-data] "
    "[--host [PORT] [--spectators N] | --join HOST[:PORT] | --watch HOST[:PORT] "
    "[--watch-delay S] | --lobby HOST[:PORT] [--name NAME] [--quick | --room | --code CODE | "
    "--list-matches | --watch-match ID]] [--delay N] [--join-timeout S] [--timeout S] "
    "[--versus [--rounds N]] [--training] [--bindings FILE] [--print-bindings] [--help] "
    "[--version] [--vsync on|off] [--volume N] [--mute] [--no-audio] [--cue-log FILE] "
    "[--cpu LEVEL [--cpu-player 1|2] [--seed S]] | --arena A B [--matches N] [--rounds N] "
    "[--seed S] [--p1 NAME] [--p2 NAME] [--stage NAME] [--list] [--menu]";

int usageError(const std::string& error) {
    std::cerr << "vorrak: " << error << "\n" << usageLine << "\n";
    return 2;
}

// The modes that cannot be played together, across the groups.
void excludeAcrossModes(const PlayOptions& play, const ExportOptions& video,
                        const OnlineOptions& online, const VersusOptions& versus,
                        const LobbyPlayOptions& lobby) {
    lobby.lobby->excludes(online.host)->excludes(online.join)->excludes(online.watch);
    video.exportVideo->needs(play.replay);
    versus.versus->excludes(play.frameData);
    for (CLI::Option* side : {online.host, online.join, online.watch, lobby.lobby})
        side->excludes(play.replay)->excludes(play.syncTest)->excludes(play.frameData);
    // A spectator plays by the host's rules.
    online.watch->excludes(versus.versus);
    for (CLI::Option* side : {online.host, online.join, online.watch, video.exportVideo})
        play.menu->excludes(side);
    play.training->excludes(lobby.lobby);
    play.training->excludes(online.host)->excludes(online.join)->excludes(online.watch)->excludes(
        video.exportVideo);
}

} // namespace

std::optional<int> parseCommandLine(int argc, char** argv, Options& options) {
    CLI::App app("Vorrak: a two-player, one-keyboard fighting game. Without options, two "
                 "players share the keyboard.",
                 "vorrak");
    app.add_flag("--version", "Print the program's version and exit");
    PlayOptions play(app, options);
    ExportOptions video(app, options.exportSettings);
    OnlineOptions online(app, options);
    LobbyPlayOptions lobby(app, options);
    VersusOptions versus(app, options);
    BindingsOptions bindings(app, options);
    SoundOptions sound(app, options.sound, video.exportVideo);
    FrameOptions frames(app, options);
    CpuOptions cpu(app, options);
    RosterOptions roster(app, options);
    excludeAcrossModes(play, video, online, versus, lobby);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return usageError(e.what());
    }
    const bool arena = app.count("--arena") > 0;
    for (const std::optional<std::string>& error :
         {lobby.check(), online.check(), versus.check(arena), video.check(), cpu.check(app)})
        if (error)
            return usageError(*error);
    if (app.count("--version") > 0) {
        std::cout << "vorrak " << VORRAK_VERSION << "\n";
        return 0;
    }
    const std::string media = GameFiles::find(programDirectory()).resources + "/media";
    if (roster.list(media))
        return 0;
    if (const std::optional<std::string> error = roster.check(media))
        return usageError(*error);
    return bindings.load();
}
