#include "app/StartupFiles.h"

#include <set>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "sound/SampleBank.h"

namespace {

// The engine asks for an image by its file name alone: an image named alike in two folders is
// left to the engine's own decoder, which reads it from its fighter's folder.
void addImages(ResourceFileCheck::Images& images, std::set<std::string>& clashes,
               ResourceFileCheck::Images more) {
    for (auto& [name, image] : more) {
        if (clashes.count(name))
            continue;
        const auto [found, added] = images.emplace(name, std::move(image));
        if (added)
            continue;
        images.erase(found);
        clashes.insert(name);
    }
}

} // namespace

StartupFiles::StartupFiles(const std::string& resourceDir, std::vector<std::string> fighterFolders,
                           bool readSounds)
    : reading(std::async(std::launch::async, [resourceDir, fighterFolders, readSounds] {
          // Linux gives each thread its own niceness.
          setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
          Read files;
          files.images = ResourceFileCheck::requireMediaFolder(resourceDir + "/media");
          std::set<std::string> clashes;
          for (const std::string& folder : fighterFolders)
              addImages(files.images, clashes, ResourceFileCheck::requireMediaFolder(folder));
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
