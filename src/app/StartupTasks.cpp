#include "app/StartupTasks.h"

#include "app/ResourceFileCheck.h"
#include "sound/SoundPresenter.h"
#include "sound/SoundSettings.h"

StartupTasks::StartupTasks(const std::string& resourceDir, const SoundSettings* settings)
    : mediaCheck(std::async(std::launch::async, ResourceFileCheck::requireMediaFolder,
                            resourceDir + "/media")) {
    if (!settings)
        return;
    sound = std::async(std::launch::async, [this, chosen = *settings, resourceDir] {
        return std::make_unique<SoundPresenter>(
            chosen, resourceDir + "/media/sounds",
            [this](const std::string& line) { soundLog.push_back(line); });
    });
}

StartupTasks::~StartupTasks() = default;

void StartupTasks::requireMedia() { mediaCheck.get(); }

std::unique_ptr<SoundPresenter> StartupTasks::takeSound(const Log& log) {
    sound.wait();
    for (const std::string& line : soundLog)
        log(line);
    return sound.get();
}
