#pragma once

// A throw under way, as a plain value: which fighter holds the other, and the steps since the
// grab. At most one throw holds at a time. Kept in the match state.
struct ThrowState {
    // 0 or 1; -1 while nobody holds anybody.
    int thrower = -1;
    int steps = 0;

    bool holding() const { return thrower >= 0; }
};
