#pragma once

#include <cstdint>
#include <string>

#include "replay/Replay.h"

// Reading a replay file is all or nothing: the whole file is read and checked before any step
// is played (size, format name and version, length, check value, every step), so a damaged or
// foreign file ends the program with one line before the match starts. Every failure is a
// ReplayError whose text names the file and the fault.

// Refuses files larger than the longest match could make without reading them.
Replay readReplay(const std::string& path);
// The same checks on a file's contents; source names it in messages.
Replay parseReplay(const std::string& bytes, const std::string& source);
// Throws unless the replay was recorded with character data of this hash.
void requireCharacterData(const Replay& replay, std::uint64_t characterHash);
