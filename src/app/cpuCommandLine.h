#pragma once

#include <string>

namespace CLI {
class App;
}
struct Options;

// Adds --cpu, --cpu-player, --seed, --arena and --matches to the command line.
void addCpuOptions(CLI::App& app, Options& options);
// After parsing: the first usage error among them, or an empty string. Also hands the arena
// its rounds and seed.
std::string checkCpuOptions(const CLI::App& app, Options& options);
