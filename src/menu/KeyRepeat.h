#pragma once

#include <chrono>

// When a direction held in the menus counts as pressed: once on the step it goes down, then,
// while it stays down, again and again at a rate of the wall clock. Counted in steps, a key
// held over the catch-up steps of one slow picture would count as held for all of them and
// repeat: one tap would move several rows. One per direction, owned by the MenuLayer.
class KeyRepeat {
public:
    using Clock = std::chrono::steady_clock;
    // How long a key is held before it repeats, and how often it repeats then.
    static constexpr Clock::duration delay = std::chrono::milliseconds(400);
    static constexpr Clock::duration interval = std::chrono::milliseconds(100);

    // Whether the key, down or not in the step sampled at `now`, counts as pressed in it.
    bool pressed(bool down, Clock::time_point now);

private:
    bool wasDown = false;
    Clock::time_point nextRepeat;
};
