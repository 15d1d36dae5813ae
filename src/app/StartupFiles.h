#pragma once

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/ResourceFileCheck.h"

class SampleBank;

// The files the start-up reads that need no engine, read on a thread of their own while the
// engine opens its window: the media folder and the folders of the match's fighters checked
// (their images decoded on the way) and the sounds. The thread runs at the lowest priority: on two
// cores, a reader at the engine's priority takes the processor from the engine and from the display
// server the engine waits on, and slows the start by about as much as it saves. Owned by the
// Application from the engine's start; dropping it waits for the thread.
class StartupFiles {
public:
    // The sounds are read only when asked for: not when muted, nor for the frame-data table and
    // the export, which read their own or none.
    StartupFiles(const std::string& resourceDir, std::vector<std::string> fighterFolders,
                 bool readSounds);
    ~StartupFiles();

    StartupFiles(const StartupFiles&) = delete;
    StartupFiles& operator=(const StartupFiles&) = delete;

    // Wait for the thread and throw what it refused; once each.
    ResourceFileCheck::Images requireMedia();
    // Null when the sounds were not asked for.
    std::unique_ptr<SampleBank> takeSounds();

private:
    struct Read {
        ResourceFileCheck::Images images;
        std::unique_ptr<SampleBank> sounds;
    };

    void receive();

    std::future<Read> reading;
    Read read;
};
