#pragma once

#include <stdexcept>

// A video that cannot be made: what() is one line for a person, naming the file and the fault.
// status is the program's exit status for it: 1 for a file that cannot be written, 2 for a
// choice on the command line that does not fit the replay.
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const std::string& what, int status = 1)
        : std::runtime_error(what), status(status) {}

    int status;
};
