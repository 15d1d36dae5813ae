#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "roster/BackdropLayer.h"

// One stage as its file describes it: read by StageFile, never changed afterwards.
struct StageData {
    // The name players type (its file's) and the name shown.
    std::string name;
    std::string shownName;
    // Between the walls of a versus match.
    float width = 328;
    // The floor's image, in the media folder.
    std::string floor;
    // Behind the floor, farthest first; none for a stage that names no backdrop.
    std::vector<BackdropLayer> backdrop;
    // The fingerprint of its file's keys before the backdrop (StageFile::fingerprintOf): its
    // width is the match's.
    std::uint64_t fingerprint = 0;
};
