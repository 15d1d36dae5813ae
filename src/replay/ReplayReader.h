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
// Throws unless a replay from before format 5 was recorded with character data of this hash
// (the default fighter's, which played both sides); a newer one names its fighters instead.
void requireCharacterData(const Replay& replay, std::uint64_t characterHash);
// Throws unless a replay of format 5 on was recorded with the fighters and the stage loaded
// here, by their names and the fingerprints of their files, naming the first that differs.
void requireLineup(const Replay& replay, const Lineup& loaded);
