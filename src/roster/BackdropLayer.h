#pragma once

#include <string>

// One image layer of a stage's backdrop: its PNG in the media folder and how far behind the
// fight line it stands. Read by StageFile; the presentation draws it, the rules never read it.
struct BackdropLayer {
    std::string image;
    float depth = 0;
};
