#pragma once

#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

class SoundPresenter;
struct SoundSettings;

// The start-up's work that needs no engine, run on threads of its own while the engine loads
// its plug-ins and opens its window on one core: the media folder's check (which decodes every
// image) and the sound (its samples read, its device opened). Owned by the Application from the
// engine's start; dropping it waits for whatever still runs.
class StartupTasks {
public:
    using Log = std::function<void(const std::string&)>;

    // Without sound settings no sound is started: the frame-data table and the export play no
    // match.
    StartupTasks(const std::string& resourceDir, const SoundSettings* sound);
    ~StartupTasks();

    StartupTasks(const StartupTasks&) = delete;
    StartupTasks& operator=(const StartupTasks&) = delete;

    // Waits for the media check and throws what it refused.
    void requireMedia();
    // Waits for the sound, hands its start's log lines to `log` and throws what its start threw.
    // Once only, and only when the sound was started.
    std::unique_ptr<SoundPresenter> takeSound(const Log& log);

private:
    // A future of std::async waits for its thread when destroyed: the sound's, declared last,
    // goes before the log its thread writes.
    std::future<void> mediaCheck;
    std::vector<std::string> soundLog;
    std::future<std::unique_ptr<SoundPresenter>> sound;
};
