#pragma once

#include <optional>

#include "app/Options.h"

// Reads the command line into options. Returns the exit status when the program should end at
// once: 0 after --help or --version, 2 after an unknown option or a missing or bad value (the
// error and the usage line are printed on stderr).
std::optional<int> parseCommandLine(int argc, char** argv, Options& options);
