#pragma once

#include <memory>
#include <string>

class CharacterData;

// Reads a fighter from its folder: the file fighter.toml in it (TOML; the README describes its
// keys) and the names of the images beside it. Everything is checked before anything is used:
// a missing, damaged or out-of-range file throws a DataFileError naming the file, the line and
// the field, and a file over maxBytes is refused unread.
namespace FighterFile {

constexpr long maxBytes = 256 * 1024;
constexpr const char* fileName = "fighter.toml";

// The fighter's name is the folder's own name.
std::unique_ptr<CharacterData> read(const std::string& folder);
// The same from the file's text, as read from `source` in `folder` (the fuzzer's way in).
std::unique_ptr<CharacterData> parse(const std::string& text, const std::string& source,
                                     const std::string& folder);

} // namespace FighterFile
