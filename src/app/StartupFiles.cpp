#include "app/StartupFiles.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "sound/SampleBank.h"

StartupFiles::StartupFiles(const std::string& resourceDir, bool readSounds)
    : reading(std::async(std::launch::async, [resourceDir, readSounds] {
          // Linux gives each thread its own niceness.
          setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
          Read files;
          files.images = ResourceFileCheck::requireMediaFolder(resourceDir + "/media");
          if (readSounds)
              files.sounds = std::make_unique<SampleBank>(resourceDir + "/media/sounds");
          return files;
      })) {}

// The future of std::async waits for the thread.
StartupFiles::~StartupFiles() = default;

void StartupFiles::receive() {
    if (reading.valid())
        read = reading.get();
}

ResourceFileCheck::Images StartupFiles::requireMedia() {
    receive();
    return std::move(read.images);
}

std::unique_ptr<SampleBank> StartupFiles::takeSounds() {
    receive();
    return std::move(read.sounds);
}
