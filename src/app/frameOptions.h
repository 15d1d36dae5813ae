#pragma once

namespace CLI {
class App;
}
struct Options;

// The frame pacing's options: --vsync on|off.
void addFrameOptions(CLI::App& app, Options& options);
