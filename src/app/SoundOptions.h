#pragma once

namespace CLI {
class App;
class Option;
} // namespace CLI
struct SoundSettings;

// The sound on the command line: --volume, --mute, --cue-log and, beside --export, --no-audio.
// CLI11 checks their values while it parses. parseCommandLine owns it for the parse.
class SoundOptions {
public:
    SoundOptions(CLI::App& app, SoundSettings& settings, CLI::Option* exportVideo);
};
