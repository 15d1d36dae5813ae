#include "app/PlayOptions.h"

#include <CLI/CLI.hpp>

#include "match/MatchTimeline.h"

PlayOptions::PlayOptions(CLI::App& app, Options& options) {
    record = app.add_option("--record", options.recordPath,
                            "Play as usual and record the match into FILE, complete however the "
                            "game ends")
                 ->type_name("FILE");
    replay = app.add_option("--replay", options.replayPath,
                            "Play back the match recorded in FILE, checking it comes out the "
                            "same; Escape ends it early")
                 ->type_name("FILE");
    syncTest =
        app.add_option("--sync-test", options.syncTestSteps,
                       "Every step, roll back N steps, run them again and check the match agrees")
            ->type_name("N")
            ->check(CLI::Range(1, MatchTimeline::maxRollback));
    frameData = app.add_flag("--frame-data", options.frameData,
                             "Measure the moves' frame data on the game's rules, print it and "
                             "exit (starts the engine: needs a display, like the game)");
    training = app.add_flag("--training", options.training,
                            "Training: pause, step, rewind, reset, a dummy that repeats the "
                            "second player's keys and a frame meter (F4 to F11); with --replay, "
                            "over the replay");
    menu = app.add_flag("--menu", options.menu,
                        "Open on the title screen: every mode from menus, for players; the other "
                        "options become the menus' defaults");
    menu->excludes(record)->excludes(replay)->excludes(syncTest)->excludes(frameData)->excludes(
        training);
    replay->excludes(record)->excludes(syncTest)->excludes(frameData);
    record->excludes(syncTest);
    frameData->excludes(record)->excludes(syncTest);
    // What a rewind or a reset undoes cannot be recorded as a plain run of steps.
    training->excludes(syncTest)->excludes(frameData)->excludes(record);
}
