#pragma once

#include <optional>
#include <string>

#include "app/Options.h"

namespace CLI {
class App;
class Option;
} // namespace CLI

// Online play on the command line: --host [PORT], --join HOST[:PORT] or --watch HOST[:PORT], the
// delay and time limits that need one of them, the host's --spectators and the watcher's
// --watch-delay. parseCommandLine owns it for the parse.
class OnlineOptions {
public:
    OnlineOptions(CLI::App& app, Options& options);

    // A usage error in these options, or nothing; fills in the host and the port joined or
    // watched.
    std::optional<std::string> check();

    CLI::Option* host;
    CLI::Option* join;
    CLI::Option* watch;

private:
    Options& options;
    std::string joinAddress;
    std::string watchAddress;
    CLI::Option* delay;
    CLI::Option* joinTimeout;
    CLI::Option* timeout;
    CLI::Option* spectators;
    CLI::Option* watchDelay;
};
