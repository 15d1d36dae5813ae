#pragma once

#include <string>

// A fighter or a stage as the menus offer it: the name players type and the name shown.
struct RosterEntry {
    std::string name;
    std::string shown;
    // A fighter's standing picture, its image file; empty for a stage.
    std::string picture;
};
