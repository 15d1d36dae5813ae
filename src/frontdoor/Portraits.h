#pragma once

#include <string>
#include <vector>

#include <imgui.h>

#include "frontdoor/RosterEntry.h"

// The fighters' pictures for fighter select: each fighter's standing picture made an engine
// texture that the menus draw by its handle. Made by the menus' run once the engine runs, and
// destroyed with it; a picture that cannot be read is left out (its card shows the name alone).
class Portraits {
public:
    explicit Portraits(const std::vector<RosterEntry>& fighters);
    ~Portraits();

    Portraits(const Portraits&) = delete;
    Portraits& operator=(const Portraits&) = delete;

    // By the fighters' order; null for one without a picture.
    const std::vector<ImTextureID>& textures() const { return handles; }

private:
    std::vector<std::string> names;
    std::vector<ImTextureID> handles;
};
