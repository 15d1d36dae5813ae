#pragma once

#include "app/Options.h"

namespace CLI {
class App;
class Option;
} // namespace CLI

// The local modes on the command line: --record, --replay, --sync-test, --frame-data,
// --training and --menu, and which of them go together. parseCommandLine owns it for the parse.
class PlayOptions {
public:
    PlayOptions(CLI::App& app, Options& options);

    CLI::Option* record;
    CLI::Option* replay;
    CLI::Option* syncTest;
    CLI::Option* frameData;
    CLI::Option* training;
    CLI::Option* menu;
};
