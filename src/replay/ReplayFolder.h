#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "replay/ReplayListing.h"

// The folder that keeps the matches played from the menus, $XDG_DATA_HOME/vorrak/replays/
// (~/.local/share/vorrak/replays/). It names each new recording after the moment it starts,
// 2024-05-01_14-03-22.vrp (with -2, -3 ... when two start within a second), keeps at most
// `limit` of the recordings it named, removing the oldest, and lists every recording in it,
// newest first. Other files in the folder are listed if they are replays (*.vrp) and never
// removed. Made by whoever starts a recorded match or shows the list.
//
//     ReplayFolder folder(settings.replayLimit);
//     const std::string path = folder.newRecording();   // then record into path
//     ...                                               // the recording finished
//     folder.prune();
class ReplayFolder {
public:
    explicit ReplayFolder(int limit, std::string folder = defaultFolder());

    // The path for a recording starting at `now`, in local time, made in the folder (and the
    // folder made if need be) as an empty file no other game takes; the recording's rename
    // replaces it. Throws FileError.
    std::string newRecording(std::time_t now = std::time(nullptr));
    // Removes the oldest of the recordings the folder named, beyond the limit.
    void prune() const;
    // How many recordings prune would remove now.
    int pruneCount() const;
    // Every recording (*.vrp) in the folder, newest first, from its header and closing record
    // alone; an empty list when the folder does not exist.
    std::vector<ReplayListing> list() const;

    const std::string& path() const { return folder; }
    static std::string defaultFolder();

private:
    std::vector<ReplayListing> namedRecordings() const;

    int limit;
    std::string folder;
};
