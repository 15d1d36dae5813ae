#include "app/CommandLine.h"
#include "app/spectatorOptions.h"

#include <iostream>

#include <CLI/CLI.hpp>

#include "export/VideoEncoder.h"
#include "input/BindingsFile.h"
#include "match/MatchTimeline.h"

namespace {

const char* const usageLine =
    "Usage: vorrak [--record FILE | --replay FILE [--export OUT [--size WxH] [--from STEP] "
    "[--to STEP] [--boxes] [--inputs]] | --sync-test N | --frame-data] "
    "[--host [PORT] [--spectators N] | --join HOST[:PORT] | --watch HOST[:PORT] "
    "[--watch-delay S]] [--delay N] [--join-timeout S] [--timeout S] "
    "[--versus [--rounds N]] [--training] [--bindings FILE] [--print-bindings] [--help] "
    "[--version]";

// Debian's ENet speaks IPv4 only.
const char* const noIpv6 = "IPv6 addresses are not supported";

// [ADDR]:PORT, [ADDR] and a bare address with more than one colon name an IPv6 host.
bool isIpv6(const std::string& address) {
    return address.front() == '[' || address.find(':') != address.rfind(':');
}

// HOST or HOST:PORT; false when the port is not a number from 1 to 65535 or no host is named.
bool parseAddress(const std::string& address, Options& options) {
    const std::size_t colon = address.rfind(':');
    options.joinHost = address.substr(0, colon);
    if (colon == std::string::npos)
        return !address.empty();
    const std::string port = address.substr(colon + 1);
    if (options.joinHost.empty() || port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    options.port = std::stoi(port);
    return options.port >= 1 && options.port <= 65535;
}

// No path: the game's keys. A bad file ends the program before its window opens.
bool loadBindings(const std::string& path, Options& options) {
    if (path.empty())
        return true;
    try {
        options.bindings = BindingsFile::read(path);
    } catch (const BindingsError& e) {
        std::cerr << "vorrak: " << e.what() << "\n";
        return false;
    }
    return true;
}

// WxH with both even (the video's colour planes are halved) and from 16 to 4096.
bool parseSize(const std::string& size, ExportSettings& settings) {
    const std::size_t x = size.find('x');
    const auto side = [](const std::string& digits, int& value) {
        if (digits.empty() || digits.size() > 4 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        value = std::stoi(digits);
        return value >= 16 && value <= 4096 && value % 2 == 0;
    };
    return x != std::string::npos && side(size.substr(0, x), settings.width) &&
           side(size.substr(x + 1), settings.height);
}

} // namespace

std::optional<int> parseCommandLine(int argc, char** argv, Options& options) {
    CLI::App app("Vorrak: a two-player, one-keyboard fighting game. Without options, two "
                 "players share the keyboard.",
                 "vorrak");
    app.add_flag("--version", "Print the program's version and exit");
    CLI::Option* record =
        app.add_option("--record", options.recordPath,
                       "Play as usual and record the match into FILE, complete however the "
                       "game ends")
            ->type_name("FILE");
    CLI::Option* replay =
        app.add_option("--replay", options.replayPath,
                       "Play back the match recorded in FILE, checking it comes out the same; "
                       "Escape ends it early")
            ->type_name("FILE");
    CLI::Option* syncTest =
        app.add_option("--sync-test", options.syncTestSteps,
                       "Every step, roll back N steps, run them again and check the match agrees")
            ->type_name("N")
            ->check(CLI::Range(1, MatchTimeline::maxRollback));
    CLI::Option* frameData =
        app.add_flag("--frame-data", options.frameData,
                     "Measure the moves' frame data on the game's rules, print it and exit "
                     "(starts the engine: needs a display, like the game)");
    CLI::Option* training =
        app.add_flag("--training", options.training,
                     "Training: pause, step, rewind, reset, a dummy that repeats the second "
                     "player's keys and a frame meter (F4 to F11); with --replay, over the replay");
    ExportSettings& video = options.exportSettings;
    CLI::Option* exportVideo =
        app.add_option("--export", video.path,
                       "Render the replay into the video OUT (.mp4, .webm or lossless .mkv), "
                       "one picture per step; needs a display, the window stays hidden")
            ->type_name("OUT");
    std::string size;
    CLI::Option* sizeOption =
        app.add_option("--size", size, "The video's size (default 800x600)")->type_name("WxH");
    CLI::Option* from =
        app.add_option("--from", video.from, "The video starts at step STEP (default 1)")
            ->type_name("STEP")
            ->check(CLI::PositiveNumber);
    CLI::Option* to =
        app.add_option("--to", video.to, "The video ends with step STEP (default the last)")
            ->type_name("STEP")
            ->check(CLI::PositiveNumber);
    CLI::Option* boxes =
        app.add_flag("--boxes", video.boxes, "The video shows the boxes from the start, as F3");
    CLI::Option* inputs = app.add_flag(
        "--inputs", video.inputs, "The video shows the input panels from the start, as F2");
    exportVideo->needs(replay);
    for (CLI::Option* choice : {sizeOption, from, to, boxes, inputs})
        choice->needs(exportVideo);
    std::string joinAddress;
    CLI::Option* host =
        app.add_option("--host", options.port,
                       "Play online: wait for the other player on UDP port PORT (default " +
                           std::to_string(Options::defaultPort) + ")")
            ->type_name("PORT")
            ->expected(0, 1)
            ->check(CLI::Range(1, 65535));
    CLI::Option* join =
        app.add_option("--join", joinAddress, "Play online: join the player waiting at HOST")
            ->type_name("HOST[:PORT]");
    CLI::Option* delay =
        app.add_option("--delay", options.inputDelay,
                       "Online: steps between a key and the match taking it (default 1)")
            ->type_name("N")
            ->check(CLI::Range(0, 4));
    CLI::Option* joinTimeout =
        app.add_option("--join-timeout", options.joinTimeout,
                       "Online: seconds to keep trying to reach the host (default 30)")
            ->type_name("S")
            ->check(CLI::Range(1, 3600));
    CLI::Option* timeout =
        app.add_option("--timeout", options.silenceLimit,
                       "Online: seconds without a packet that end the match (default 5)")
            ->type_name("S")
            ->check(CLI::Range(1, 600));
    CLI::Option* versus = app.add_flag(
        "--versus", options.versus,
        "Play a match in rounds, with a 99-second round timer and walls, to a winner");
    CLI::Option* rounds =
        app.add_option("--rounds", options.rounds,
                       "Versus: the number of rounds, 1, 3, 5, 7 or 9 (default 3); the first to "
                       "win more than half takes the match")
            ->type_name("N")
            ->check(CLI::IsMember({1, 3, 5, 7, 9}));
    std::string bindingsPath;
    CLI::Option* bindings =
        app.add_option("--bindings", bindingsPath,
                       "The players' keys and controller buttons from FILE (default: "
                       "$XDG_CONFIG_HOME/vorrak/bindings.cfg if it exists)")
            ->type_name("FILE");
    bool printBindings = false;
    app.add_flag("--print-bindings", printBindings,
                 "Print the bindings in force in the bindings file's format and exit");
    SpectatorOptions spectatorOptions = addSpectatorOptions(app, options);
    replay->excludes(record)->excludes(syncTest)->excludes(frameData);
    versus->excludes(frameData);
    record->excludes(syncTest);
    frameData->excludes(record)->excludes(syncTest);
    host->excludes(join)->excludes(replay)->excludes(syncTest)->excludes(frameData);
    join->excludes(replay)->excludes(syncTest)->excludes(frameData);
    // What a rewind or a reset undoes cannot be recorded as a plain run of steps.
    training->excludes(host)->excludes(join)->excludes(syncTest)->excludes(frameData)->excludes(
        record)->excludes(exportVideo);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "vorrak: " << e.what() << "\n" << usageLine << "\n";
        return 2;
    }
    options.host = host->count() > 0;
    const auto usageError = [](const std::string& error) {
        std::cerr << "vorrak: " << error << "\n" << usageLine << "\n";
        return 2;
    };
    if (join->count() > 0 && !joinAddress.empty() && isIpv6(joinAddress))
        return usageError(noIpv6);
    if (join->count() > 0 && !parseAddress(joinAddress, options))
        return usageError("--join: '" + joinAddress + "' is not HOST or HOST:PORT");
    if (delay->count() > 0 && !options.host && join->count() == 0)
        return usageError("--delay needs --host or --join");
    if (const auto error = checkSpectatorOptions(spectatorOptions, options))
        return usageError(*error);
    const bool watching = !options.watchHost.empty();
    if (joinTimeout->count() > 0 && join->count() == 0 && !watching)
        return usageError("--join-timeout needs --join or --watch");
    if (timeout->count() > 0 && !options.host && join->count() == 0 && !watching)
        return usageError("--timeout needs --host, --join or --watch");
    if (rounds->count() > 0 && versus->count() == 0)
        return usageError("--rounds needs --versus");
    if (exportVideo->count() > 0 && !VideoEncoder::supports(video.path))
        return usageError("--export: '" + video.path + "' does not end in .mp4, .webm or .mkv");
    if (sizeOption->count() > 0 && !parseSize(size, video))
        return usageError("--size: '" + size + "' is not WxH with even sides from 16 to 4096");
    if (to->count() > 0 && video.from > video.to)
        return usageError("--from " + std::to_string(video.from) + " is after --to " +
                          std::to_string(video.to));
    if (app.count("--version") > 0) {
        std::cout << "vorrak " << VORRAK_VERSION << "\n";
        return 0;
    }
    // The file named, else the user's own if there is one.
    if (!loadBindings(bindings->count() > 0 ? bindingsPath : BindingsFile::defaultPath(), options))
        return 2;
    if (printBindings) {
        std::cout << BindingsFile::format(options.bindings);
        return 0;
    }
    return std::nullopt;
}
