#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "replay/ReplaySummary.h"

// One recording of the replays folder as its list shows it.
struct ReplayListing {
    std::string path;
    // The file's name in the folder.
    std::string name;
    // When the recording was last written: the end of its match.
    std::time_t recorded = 0;
    // What its header and closing record tell; empty for a damaged or unreadable file, which
    // is listed but never opened as a match.
    std::optional<ReplaySummary> summary;
    // Why it is damaged, in words; empty otherwise.
    std::string damage;
};
