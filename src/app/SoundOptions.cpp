#include "app/SoundOptions.h"

#include <fstream>

#include <CLI/CLI.hpp>
#include <sys/stat.h>

#include "sound/SoundSettings.h"

namespace {

// Empty when the cue log can be written there. Anything that is there already must be a
// regular file: opening a FIFO would wait for a reader.
std::string cueLogProblem(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return "'" + path + "' is not a regular file";
    if (!std::ofstream(path, std::ios::app))
        return "cannot write '" + path + "'";
    return {};
}

} // namespace

SoundOptions::SoundOptions(CLI::App& app, SoundSettings& settings, CLI::Option* exportVideo) {
    app.add_option("--volume", settings.volume,
                   "The sound's volume, 0 to 100 (default " +
                       std::to_string(SoundSettings::defaultVolume) + ")")
        ->type_name("N")
        ->check(CLI::Range(0, 100));
    app.add_flag("--mute", settings.mute, "Play without sound; no audio device is opened");
    app.add_flag("--no-audio", settings.noAudio, "The exported video has no audio track")
        ->needs(exportVideo);
    app.add_option("--cue-log", settings.cueLogPath,
                   "Write every sound played or stopped into FILE, one line each: the step, "
                   "play or stop, the sound, its side (-1 the announcer) and the output frame")
        ->type_name("FILE")
        ->check(cueLogProblem, "FILE");
}
