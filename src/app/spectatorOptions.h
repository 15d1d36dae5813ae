#pragma once

#include <optional>
#include <string>

#include "app/Options.h"

namespace CLI {
class App;
class Option;
} // namespace CLI

// The options of watching online matches: --watch on a spectator's side, --spectators on the
// host's, --watch-delay. Added to the command line by parseCommandLine, checked after it parsed.
struct SpectatorOptions {
    CLI::Option* watch = nullptr;
    CLI::Option* spectators = nullptr;
    CLI::Option* delay = nullptr;
    std::string address;
};

SpectatorOptions addSpectatorOptions(CLI::App& app, Options& options);
// The usage error, if any.
std::optional<std::string> checkSpectatorOptions(SpectatorOptions& added, Options& options);
