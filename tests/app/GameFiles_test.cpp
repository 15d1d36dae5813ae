#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/GameFiles.h"

namespace {

namespace fs = std::filesystem;

// Restores an environment variable when the test ends.
class SavedVariable {
public:
    explicit SavedVariable(const char* name) : name(name) {
        const char* value = std::getenv(name);
        if (value)
            saved = value;
        had = value != nullptr;
    }
    ~SavedVariable() { had ? setenv(name, saved.c_str(), 1) : unsetenv(name); }

private:
    const char* name;
    std::string saved;
    bool had;
};

} // namespace

// A program with its media beside it is a build folder's; without, an
// installed one, which finds its files from its own place and logs into the state folder.
TEST(GameFiles, BesideTheProgramOrInstalled) {
    const fs::path root = fs::temp_directory_path() / ("vorrak-files-" + std::to_string(::getpid()));
    const SavedVariable state("XDG_STATE_HOME");
    const SavedVariable home("HOME");
    fs::create_directories(root / "build");
    fs::create_directories(root / "build/media");
    const GameFiles build = GameFiles::find((root / "build").string());
    EXPECT_EQ(build.resources, (root / "build").string());
    EXPECT_EQ(build.modules, (root / "build").string());
    EXPECT_EQ(build.log, "Ogre.log");

    setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
    const GameFiles installed = GameFiles::find((root / "usr/bin").string());
    EXPECT_EQ(installed.resources, (root / "usr/share/vorrak").string());
    EXPECT_EQ(installed.modules.rfind((root / "usr/lib/").string(), 0), 0u) << installed.modules;
    EXPECT_EQ(fs::path(installed.modules).filename(), "vorrak");
    EXPECT_EQ(installed.log, (root / "state/vorrak/Ogre.log").string());
    EXPECT_TRUE(fs::is_directory(root / "state/vorrak"));
    EXPECT_EQ(installed.logProblem, "");

    unsetenv("XDG_STATE_HOME");
    unsetenv("HOME");
    const GameFiles homeless = GameFiles::find((root / "usr/bin").string());
    EXPECT_EQ(homeless.log, "Ogre.log");
    EXPECT_NE(homeless.logProblem, "");
    fs::remove_all(root);
}
