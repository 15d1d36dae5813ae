#pragma once

#include <stdexcept>
#include <string>

// A small text file read whole or written whole. Failures are FileErrors whose what() is one
// line naming the file.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace TextFile {

// The contents of a regular file of at most maxSize bytes. Anything else (a folder, a FIFO,
// which is never waited on, a device, a larger file) is refused unread; `kind` names what the
// file should have been in the refusal ("a bindings file").
std::string read(const std::string& path, long maxSize, const std::string& kind);

// Writes the file whole or not at all: a new file beside it, flushed to the disk, renamed
// over the old one, so a reader never sees half of it and a crash leaves the old one. Its
// folder is made if need be.
void writeAtomically(const std::string& path, const std::string& text);

} // namespace TextFile
