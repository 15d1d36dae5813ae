#pragma once

#include <stdexcept>

// A fighter's or a stage's file that cannot be played: what() is one line naming the file, the
// line and the field ("media/fighters/sora/fighter.toml:12: health: ...").
class DataFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
