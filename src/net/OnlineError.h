#pragma once

#include <stdexcept>

// Online play or watching that cannot begin or go on: the other side refused, differs, is
// gone or cannot be reached. Not a fault of the game: what() is one line for a person naming
// the reason, and the entry point prints it as such.
class OnlineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
