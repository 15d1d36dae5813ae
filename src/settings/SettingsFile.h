#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "settings/Settings.h"

// A settings file that cannot be used: what() is one line naming the file, the line where
// there is one, and what is wrong.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The player's settings kept in a small TOML file, settings.cfg, one line per setting:
//
//     volume = 80
//     vsync = true
//     rounds = 3
//     input_delay = 1
//     replay_limit = 200
//
// A setting the file leaves out keeps its default. A damaged file (bad syntax, a value of the
// wrong type or out of range, an unknown key, larger than 64 KiB, not a regular file, not
// readable) leaves every default in force, is told in one line to the log, and is moved aside
// as settings.cfg.bad (settings.cfg.bad-2 and on when that is taken), so that saving never
// overwrites it. Saving writes a new file and renames it over the old. Owned by whoever loads
// the settings at start-up and saves them from the settings screen.
class SettingsFile {
public:
    using Log = std::function<void(const std::string&)>;

    static constexpr long maxSize = 64 * 1024;

    // $XDG_CONFIG_HOME/vorrak/settings.cfg, or ~/.config/vorrak/settings.cfg without it.
    explicit SettingsFile(std::string path = defaultPath());

    // The settings the file holds, or the defaults when there is none or it is damaged.
    Settings load(const Log& log);
    // Writes the settings whole or not at all, making the folder if need be. Throws
    // FileError, also while a damaged file that could not be moved aside is in the way.
    void save(const Settings& settings) const;

    const std::string& path() const { return filePath; }

    // The settings a file's text holds; source names it in errors. Throws SettingsError.
    static Settings parse(const std::string& text, const std::string& source);
    // The file's own text, with a comment per setting; parse(format(s)) gives s again.
    static std::string format(const Settings& settings);
    static std::string defaultPath();

private:
    // Moves the damaged file out of the way; the name it has now, or empty if it stays.
    std::string moveAside() const;

    std::string filePath;
    // A damaged file stays where it is: it must not be saved over.
    bool damagedInPlace = false;
};
