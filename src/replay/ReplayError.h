#pragma once

#include <stdexcept>

// A replay file that cannot be written, or read and trusted; what() is one line for a person,
// naming the file and what is wrong with it.
class ReplayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
