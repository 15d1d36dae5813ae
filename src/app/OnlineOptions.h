#pragma once

#include <optional>
#include <string>

#include "app/Options.h"

namespace CLI {
class App;
class Option;
} // namespace CLI

// Online play on the command line: --host [PORT] or --join HOST[:PORT], and the delay and time
// limits that need one of them. parseCommandLine owns it for the parse.
class OnlineOptions {
public:
    OnlineOptions(CLI::App& app, Options& options);

    // A usage error in these options, or nothing; fills in the host and the port joined.
    std::optional<std::string> check();

    CLI::Option* host;
    CLI::Option* join;

private:
    Options& options;
    std::string joinAddress;
    CLI::Option* delay;
    CLI::Option* joinTimeout;
    CLI::Option* timeout;
};
