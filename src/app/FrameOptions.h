#pragma once

namespace CLI {
class App;
}
struct Options;

// The frame pacing on the command line: --vsync on|off. parseCommandLine owns it for the parse.
class FrameOptions {
public:
    FrameOptions(CLI::App& app, Options& options);
};
