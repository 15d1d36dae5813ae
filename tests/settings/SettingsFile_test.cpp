#include <filesystem>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/TextFile.h"
#include "settings/SettingsFile.h"

namespace {

namespace fs = std::filesystem;

std::string errorOf(const std::string& text) {
    try {
        SettingsFile::parse(text, "settings.cfg");
    } catch (const SettingsError& e) {
        return e.what();
    }
    return "";
}

std::string contents(const fs::path& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class SettingsOnDisk : public ::testing::Test {
protected:
    SettingsOnDisk() { fs::create_directories(folder); }
    ~SettingsOnDisk() override { fs::remove_all(folder); }

    Settings load() {
        return file.load([this](const std::string& line) { logged.push_back(line); });
    }

    const fs::path folder =
        fs::temp_directory_path() / ("vorrak-settings-" + std::to_string(::getpid()));
    const fs::path path = folder / "vorrak/settings.cfg";
    SettingsFile file{path};
    std::vector<std::string> logged;
};

} // namespace

TEST(SettingsFile, WhatItWritesReadsBackAndWhatItLeavesOutKeepsItsDefault) {
    Settings chosen;
    chosen.volume = 35;
    chosen.vsync = false;
    chosen.rounds = 7;
    chosen.inputDelay = 0;
    chosen.replayLimit = 12;
    EXPECT_EQ(SettingsFile::parse(SettingsFile::format(chosen), "s"), chosen);
    EXPECT_EQ(SettingsFile::parse(SettingsFile::format(Settings{}), "s"), Settings{});

    Settings expected;
    expected.volume = 0;
    EXPECT_EQ(SettingsFile::parse("# quiet\nvolume = 0 # none\n", "s"), expected);
    EXPECT_EQ(SettingsFile::parse("", "s"), Settings{});
}

TEST(SettingsFile, ADamagedFileIsNamedWithItsLineAndFault) {
    const std::pair<const char*, const char*> cases[] = {
        {"volume = ", "settings.cfg:1: "},
        {"volume = 80\nvolume = 70\n", "settings.cfg:2: "},
        {"\nvolume = 101", "settings.cfg:2: volume is 101, not 0 to 100"},
        {"volume = -1", "volume is -1, not 0 to 100"},
        {"volume = 9999999999999", "volume is 9999999999999, not 0 to 100"},
        {"volume = 50.0", "volume must be a whole number from 0 to 100"},
        {"vsync = 1", "vsync must be true or false"},
        {"rounds = 4", "rounds must be 1, 3, 5, 7 or 9"},
        {"rounds = \"3\"", "rounds must be 1, 3, 5, 7 or 9"},
        {"input_delay = 5", "input_delay is 5, not 0 to 4"},
        {"replay_limit = 0", "replay_limit is 0, not 1 to 10000"},
        {"fullscreen = true", "unknown setting 'fullscreen'"},
        {"[sound]\nvolume = 3", "unknown setting 'sound'"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_NE(errorOf(text).find(expected), std::string::npos) << text << ": " << errorOf(text);
    // Nested past the reader's depth: refused, not followed down the stack.
    EXPECT_NE(errorOf("volume = " + std::string(60000, '[')).find("settings.cfg:1: "),
              std::string::npos);
}

TEST_F(SettingsOnDisk, SavedSettingsLoadAgainAndNoFileGivesTheDefaultsSilently) {
    EXPECT_EQ(load(), Settings{});
    Settings chosen;
    chosen.volume = 10;
    file.save(chosen);
    EXPECT_EQ(load(), chosen);
    chosen.rounds = 5;
    file.save(chosen);
    EXPECT_EQ(load(), chosen);
    EXPECT_TRUE(logged.empty());
    // Only the file is left in the folder: the new one was renamed over the old.
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()),
              1);
}

// Each damaged file leaves the defaults, one line in the log, and is kept under a name of its
// own, which no later save or damage overwrites.
TEST_F(SettingsOnDisk, ADamagedFileIsKeptAsideAndTheDefaultsAreInForce) {
    Settings chosen;
    chosen.volume = 10;
    file.save(chosen);
    std::ofstream(path) << "volume = 101\n";
    EXPECT_EQ(load(), Settings{});
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("settings.cfg:1: volume is 101"), std::string::npos) << logged[0];
    EXPECT_NE(logged[0].find("kept as " + path.string() + ".bad"), std::string::npos) << logged[0];
    EXPECT_EQ(contents(path.string() + ".bad"), "volume = 101\n");
    EXPECT_FALSE(fs::exists(path));

    file.save(chosen);
    std::ofstream(path) << std::string(SettingsFile::maxSize + 1, '#');
    EXPECT_EQ(load(), Settings{});
    EXPECT_EQ(contents(path.string() + ".bad"), "volume = 101\n");
    EXPECT_EQ(fs::file_size(path.string() + ".bad-2"), SettingsFile::maxSize + 1);

    fs::create_directory(path);
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(load(), Settings{});
    EXPECT_TRUE(fs::is_directory(path.string() + ".bad-3"));
    fs::create_symlink(folder / "fifo", path);
    EXPECT_EQ(load(), Settings{});
    EXPECT_TRUE(fs::is_symlink(path.string() + ".bad-4"));
    EXPECT_EQ(logged.size(), 4u);
    file.save(chosen);
    EXPECT_EQ(load(), chosen);
}
