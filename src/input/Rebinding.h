#pragma once

#include <string>

// What changing one control's key or button came to: done, done by swapping with another
// control (the word says which and what it holds now), or refused (the word says why).
struct Rebinding {
    enum Outcome { Bound, Swapped, Refused };

    Outcome outcome = Bound;
    // A short sentence for the player; empty when simply bound.
    std::string word;
};
