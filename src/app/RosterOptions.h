#pragma once

#include <optional>
#include <string>

#include "app/Options.h"

namespace CLI {
class App;
class Option;
} // namespace CLI

// The fighters and the stage on the command line: --p1, --p2, --stage, and --list, which prints
// the ones found. The names are those of the media folder's roster. parseCommandLine owns it for
// the parse.
class RosterOptions {
public:
    RosterOptions(CLI::App& app, Options& options);

    // A name given that the roster of the media folder does not hold, as a usage error naming
    // the ones it does; or a choice that is not this side's to make online (the host chooses
    // the left fighter and the stage, the guest the right fighter, a spectator nothing).
    // The default fighter and stage are not looked for here: a missing one is a damaged
    // installation, which start-up reports.
    std::optional<std::string> check(const std::string& mediaFolder) const;
    // --list: prints the roster, one a line ("fighter sora", "stage dojo"); true when asked.
    bool list(const std::string& mediaFolder) const;

private:
    Options& options;
    CLI::Option* given[3];
    CLI::Option* listed;
};
