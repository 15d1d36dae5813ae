#pragma once

namespace CLI {
class App;
class Option;
} // namespace CLI
struct SoundSettings;

// The sound's options: --volume, --mute, --cue-log and, beside --export, --no-audio. CLI11
// checks their values while it parses.
void addSoundOptions(CLI::App& app, SoundSettings& settings, CLI::Option* exportVideo);
