#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/DeviceModule.h"
#include "app/programDirectory.h"
#include "controllers/ControllerInput.h"
#include "input/Bindings.h"
#include "sound/AudioOutput.h"
#include "sound/AudioSource.h"

// An engine test for the system libraries it starts, not for the engine: SDL's D-Bus library
// leaks a buffer that the rules' leak check would report.
namespace {

class Silence : public AudioSource {
public:
    void mix(float* stereo, int frames) override { std::fill(stereo, stereo + 2 * frames, 0.0f); }
};

struct Opened {
    bool audio;
    bool controllers;
    std::vector<std::string> log;
};

Opened openFrom(const std::string& folder) {
    Opened opened;
    const DeviceModule::Log log = [&opened](const std::string& line) {
        opened.log.push_back(line);
    };
    const DeviceModule module(folder, log);
    Silence silence;
    opened.audio = module.openAudio(silence, log) != nullptr;
    opened.controllers = module.openControllers(Bindings::defaults(), log) != nullptr;
    return opened;
}

} // namespace

TEST(DeviceModuleTest, BesideTheProgramItOpensBothDevices) {
    const Opened opened = openFrom(programDirectory());
    EXPECT_TRUE(opened.audio && opened.controllers);
}

TEST(DeviceModuleTest, WithoutItTheGamePlaysWithoutDevicesAndTheLogSaysWhyOnce) {
    const Opened opened = openFrom("/nonexistent");
    EXPECT_FALSE(opened.audio || opened.controllers);
    ASSERT_EQ(opened.log.size(), 1u);
    EXPECT_NE(opened.log[0].find("/nonexistent/vorrak-devices.so cannot be loaded"),
              std::string::npos)
        << opened.log[0];
}
