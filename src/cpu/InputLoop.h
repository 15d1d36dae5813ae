#pragma once

#include <optional>
#include <string>
#include <vector>

#include "input/InputFrame.h"

// A fixed cycle of inputs a person could play by rote, relative to the way the fighter faces
// (Right is forward), written as numpad digits oldest first: "2 1 4*" is down, down-back, then
// back with a press of the second button ('*'); '+' is a press of the first button. The hunt
// searches these, the RotePlayer plays them. A plain record.
struct InputLoop {
    std::vector<InputFrame> steps;

    // Nothing for a text that is not a loop.
    static std::optional<InputLoop> parse(const std::string& text);
    std::string text() const;
};
