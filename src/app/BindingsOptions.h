#pragma once

#include <optional>
#include <string>

#include "app/Options.h"

namespace CLI {
class App;
class Option;
} // namespace CLI

// The players' keys on the command line: --bindings FILE and --print-bindings.
// parseCommandLine owns it for the parse.
class BindingsOptions {
public:
    BindingsOptions(CLI::App& app, Options& options);

    // Reads the bindings file named, else the user's own if there is one. Returns the exit
    // status when the program should end at once: 2 for a bad file (reported on stderr; with
    // --menu only noted in the options), 0 after printing the bindings.
    std::optional<int> load();

private:
    Options& options;
    std::string path;
    CLI::Option* bindings;
    bool print = false;
};
