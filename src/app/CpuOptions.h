#pragma once

#include <optional>
#include <string>

#include "app/Options.h"

namespace CLI {
class App;
} // namespace CLI

// The computer opponent on the command line: --cpu, --cpu-player and --seed, and the arena of
// computer opponents, --arena with --matches. parseCommandLine owns it for the parse.
class CpuOptions {
public:
    CpuOptions(CLI::App& app, Options& options);

    // After parsing: the first usage error among them, or nothing. Also hands the arena its
    // rounds and seed.
    std::optional<std::string> check(const CLI::App& app);

private:
    Options& options;
    // Checked as it is parsed, converted by check.
    std::string seedText;
};
