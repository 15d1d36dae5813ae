#pragma once

#include <cstdint>
#include <string>

// One stage as its file describes it: read by StageFile, never changed afterwards.
struct StageData {
    // The name players type (its file's) and the name shown.
    std::string name;
    std::string shownName;
    // Between the walls of a versus match.
    float width = 328;
    // The floor's image, in the media folder.
    std::string floor;
    // The fingerprint of its file (Lineup::fingerprintOf): its width is the match's.
    std::uint64_t fingerprint = 0;
};
