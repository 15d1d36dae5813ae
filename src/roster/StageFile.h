#pragma once

#include <cstdint>
#include <string>

#include "roster/StageData.h"

// Reads a stage from its file, media/stages/<name>.toml (TOML; the README describes its keys):
// a missing, damaged or out-of-range file throws a DataFileError naming the file, the line and
// the field, and a file over maxBytes is refused unread.
namespace StageFile {

constexpr long maxBytes = 64 * 1024;
// Narrower, the fighters would not fit; wider, the camera would see them as specks.
constexpr double minWidth = 200;
constexpr double maxWidth = 800;
constexpr std::size_t maxBackdropLayers = 8;
constexpr double maxBackdropDepth = 5000;

// The stage's name is the file's, without ".toml"; its images are looked for in mediaFolder.
StageData read(const std::string& path, const std::string& mediaFolder);
// The same from the file's text; an empty mediaFolder leaves the images unchecked.
StageData parse(const std::string& text, const std::string& source, const std::string& mediaFolder);
// What recordings and online play know a stage by: its file's text up to its last key before
// the first table, the keys the match plays on. The backdrop's layers, which only show, come
// after them (as TOML wants a file's own keys before its tables), so a backdrop added, with
// its comments, leaves it as it was; a file without tables counts whole.
std::uint64_t fingerprintOf(const std::string& text);

} // namespace StageFile
