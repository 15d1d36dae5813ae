#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cpu/InputLoop.h"

// Loops of inputs a person could play by rote that the computer must beat, by name: the arena's
// reference players beside script, loop and blocker, and matches in the computer's tests. Some
// were found by players, the others by the hunt (--arena LEVEL hunt), written for the fighter
// they were found with.
struct NamedLoop {
    const char* name;
    const char* text;
};

const std::vector<NamedLoop>& referenceLoops();
// Nothing for a name that is none of them.
std::optional<InputLoop> referenceLoop(const std::string& name);
