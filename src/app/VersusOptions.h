#pragma once

#include <optional>
#include <string>

#include "app/Options.h"

namespace CLI {
class App;
class Option;
} // namespace CLI

// The versus rules on the command line: --versus and the --rounds that needs it.
// parseCommandLine owns it for the parse.
class VersusOptions {
public:
    VersusOptions(CLI::App& app, Options& options);

    // A usage error in these options, or nothing; the arena plays its matches in rounds too.
    std::optional<std::string> check(bool arena) const;

    CLI::Option* versus;

private:
    CLI::Option* rounds;
};
