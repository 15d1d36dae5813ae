#include "settings/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <toml++/toml.h>

#include "files/TextFile.h"
#include "files/UserFolders.h"

namespace {

const char* const fileName = "settings.cfg";
// The names a damaged file is kept under, the first one free.
const int maxBadNames = 99;

std::string at(const std::string& source, const toml::source_region& where) {
    return source + ":" + std::to_string(where.begin.line);
}

// Reads one setting of the file into its field; throws when it is not one of them.
class SettingReader {
public:
    SettingReader(Settings& settings, const std::string& source)
        : settings(settings), source(source) {}

    void read(const std::string& key, const toml::node& value) {
        where = at(source, value.source());
        if (key == "volume")
            settings.volume = integer(key, value, 0, Settings::maxVolume);
        else if (key == "vsync")
            settings.vsync = boolean(key, value);
        else if (key == "rounds")
            settings.rounds = rounds(value);
        else if (key == "input_delay")
            settings.inputDelay = integer(key, value, 0, Settings::maxInputDelay);
        else if (key == "replay_limit")
            settings.replayLimit = integer(key, value, 1, Settings::maxReplayLimit);
        else
            fail("unknown setting '" + key +
                 "' (there are volume, vsync, rounds, input_delay and replay_limit)");
    }

private:
    int integer(const std::string& key, const toml::node& value, int low, int high) {
        const toml::value<std::int64_t>* number = value.as_integer();
        if (!number)
            fail(key + " must be a whole number from " + std::to_string(low) + " to " +
                 std::to_string(high));
        if (number->get() < low || number->get() > high)
            fail(key + " is " + std::to_string(number->get()) + ", not " + std::to_string(low) +
                 " to " + std::to_string(high));
        return static_cast<int>(number->get());
    }

    bool boolean(const std::string& key, const toml::node& value) {
        const toml::value<bool>* flag = value.as_boolean();
        if (!flag)
            fail(key + " must be true or false");
        return flag->get();
    }

    int rounds(const toml::node& value) {
        const toml::value<std::int64_t>* number = value.as_integer();
        if (!number || number->get() < 1 || number->get() > 9 ||
            !MatchRules::validRounds(static_cast<int>(number->get())))
            fail("rounds must be 1, 3, 5, 7 or 9");
        return static_cast<int>(number->get());
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw SettingsError(where + ": " + what);
    }

    Settings& settings;
    const std::string& source;
    std::string where;
};

} // namespace

SettingsFile::SettingsFile(std::string path) : filePath(std::move(path)) {}

std::string SettingsFile::defaultPath() {
    const std::string folder = UserFolders::config();
    return folder.empty() ? "" : folder + "/" + fileName;
}

Settings SettingsFile::load(const Log& log) {
    damagedInPlace = false;
    struct stat info {};
    if (filePath.empty() || (::lstat(filePath.c_str(), &info) != 0 && errno == ENOENT))
        return {};
    try {
        return parse(TextFile::read(filePath, maxSize, "a settings file"), filePath);
    } catch (const std::runtime_error& e) {
        const std::string kept = moveAside();
        damagedInPlace = kept.empty();
        log("Settings: " + std::string(e.what()) + "; the defaults are in force, " +
            (kept.empty() ? "and the file could not be moved aside, so it is not saved over"
                          : "and the file is kept as " + kept));
        return {};
    }
}

void SettingsFile::save(const Settings& settings) const {
    if (damagedInPlace)
        throw FileError("Cannot save the settings: " + filePath +
                        " is damaged and could not be moved aside");
    TextFile::writeAtomically(filePath, format(settings));
}

Settings SettingsFile::parse(const std::string& text, const std::string& source) {
    toml::table table;
    try {
        table = toml::parse(text, source);
    } catch (const toml::parse_error& e) {
        throw SettingsError(at(source, e.source()) + ": " + std::string(e.description()));
    }
    Settings settings;
    SettingReader reader(settings, source);
    for (const auto& [key, value] : table)
        reader.read(std::string(key.str()), value);
    return settings;
}

std::string SettingsFile::format(const Settings& settings) {
    std::ostringstream text;
    text << "# Vorrak's settings, kept by the game. An option given on the command line wins\n"
            "# for that run. The players' keys are in bindings.cfg.\n\n"
         << "# The sound's volume, 0 to 100.\n"
         << "volume = " << settings.volume << "\n"
         << "# Pictures wait for the display's vertical sync: true or false.\n"
         << "vsync = " << (settings.vsync ? "true" : "false") << "\n"
         << "# The rounds of a versus match: 1, 3, 5, 7 or 9.\n"
         << "rounds = " << settings.rounds << "\n"
         << "# Online play: steps between a key and the match taking it, 0 to 4.\n"
         << "input_delay = " << settings.inputDelay << "\n"
         << "# The recordings kept in the replays folder, 1 to 10000; the oldest go first.\n"
         << "replay_limit = " << settings.replayLimit << "\n";
    return text.str();
}

std::string SettingsFile::moveAside() const {
    for (int number = 1; number <= maxBadNames; ++number) {
        const std::string name =
            filePath + ".bad" + (number == 1 ? "" : "-" + std::to_string(number));
        if (::renameat2(AT_FDCWD, filePath.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0)
            return name;
        if (errno != EEXIST)
            return "";
    }
    return "";
}
