#pragma once

#include <stdexcept>
#include <string>

#include "input/Bindings.h"

// A bindings file that cannot be used: what() is one line naming the file, the line where
// there is one, and what is wrong.
class BindingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The players' keys as a text file a user writes: a [player1] and a [player2] section, each
// with one line per control ("punch = J pad:a"), keys by name and controller buttons as
// "pad:" and SDL's button name, separated by spaces or commas; names in any case. '#' starts a
// comment. Every control lists what holds it; what is not listed does nothing.
namespace BindingsFile {

// Files larger than this are not bindings files.
constexpr long maxSize = 64 * 1024;

// Parses text read from fileName (named in errors). Throws BindingsError.
Bindings parse(const std::string& text, const std::string& fileName);
// Reads and parses a regular file of at most maxSize bytes. Throws BindingsError.
Bindings read(const std::string& path);
// The file's own format, so that parse(format(b)) gives b again.
std::string format(const Bindings& bindings);
// Writes the bindings in the file's own format, whole or not at all (a new file renamed over
// the old), making its folder if need be. Throws BindingsError.
void write(const std::string& path, const Bindings& bindings);

// Where the user's own bindings file is: $XDG_CONFIG_HOME/vorrak/bindings.cfg, or
// ~/.config/vorrak/bindings.cfg without it; empty when neither is known.
std::string userPath();
// The user's own bindings file if anything exists there; empty otherwise.
std::string defaultPath();

} // namespace BindingsFile
