#include "app/CommandLine.h"

#include <iostream>

#include <CLI/CLI.hpp>

#include "match/MatchTimeline.h"

namespace {

const char* const usageLine =
    "Usage: vorrak [--record FILE | --replay FILE | --sync-test N | --frame-data] [--help] "
    "[--version]";

} // namespace

std::optional<int> parseCommandLine(int argc, char** argv, Options& options) {
    CLI::App app("Vorrak: a two-player, one-keyboard fighting game. Without options, two "
                 "players share the keyboard.",
                 "vorrak");
    app.add_flag("--version", "Print the program's version and exit");
    CLI::Option* record =
        app.add_option("--record", options.recordPath, "Record the match into FILE")
            ->type_name("FILE");
    CLI::Option* replay =
        app.add_option("--replay", options.replayPath, "Play back the match recorded in FILE")
            ->type_name("FILE");
    CLI::Option* syncTest =
        app.add_option("--sync-test", options.syncTestSteps,
                       "Every step, roll back N steps, run them again and check the match agrees")
            ->type_name("N")
            ->check(CLI::Range(1, MatchTimeline::maxRollback));
    CLI::Option* frameData =
        app.add_flag("--frame-data", options.frameData, "Print the moves' frame data and exit");
    replay->excludes(record)->excludes(syncTest)->excludes(frameData);
    frameData->excludes(record)->excludes(syncTest);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "vorrak: " << e.what() << "\n" << usageLine << "\n";
        return 2;
    }
    if (app.count("--version") > 0) {
        std::cout << "vorrak " << VORRAK_VERSION << "\n";
        return 0;
    }
    return std::nullopt;
}
