#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/Options.h"
#include "app/applySettings.h"
#include "settings/Settings.h"

namespace {

Options withSettings(const Settings& settings, std::vector<std::string> arguments) {
    Options options;
    applySettings(settings, options);
    arguments.insert(arguments.begin(), "vorrak");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    EXPECT_EQ(parseCommandLine(static_cast<int>(argv.size()), argv.data(), options), std::nullopt);
    return options;
}

} // namespace

// The settings are the options' defaults: the options given win for that run, the others
// keep the settings; the settings' own defaults are the options' own.
TEST(applySettings, OptionsGivenWinOverTheSettings) {
    const Options plain;
    const Options unchanged = withSettings(Settings{}, {});
    EXPECT_EQ(unchanged.sound.volume, plain.sound.volume);
    EXPECT_EQ(unchanged.vsync, plain.vsync);
    EXPECT_EQ(unchanged.rounds, plain.rounds);
    EXPECT_EQ(unchanged.inputDelay, plain.inputDelay);

    Settings settings;
    settings.volume = 30;
    settings.vsync = false;
    settings.rounds = 5;
    settings.inputDelay = 3;
    const Options kept = withSettings(settings, {"--versus"});
    EXPECT_EQ(kept.sound.volume, 30);
    EXPECT_FALSE(kept.vsync);
    EXPECT_EQ(kept.rounds, 5);
    EXPECT_EQ(kept.inputDelay, 3);

    const Options given = withSettings(
        settings, {"--versus", "--rounds", "9", "--volume", "70", "--vsync", "on", "--host",
                   "--delay", "0"});
    EXPECT_EQ(given.sound.volume, 70);
    EXPECT_TRUE(given.vsync);
    EXPECT_EQ(given.rounds, 9);
    EXPECT_EQ(given.inputDelay, 0);
}
