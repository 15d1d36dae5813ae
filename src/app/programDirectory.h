#pragma once

#include <string>

// The folder of the running program, where "media" is installed beside it:
// the game finds its resources wherever it is started from.
std::string programDirectory();
