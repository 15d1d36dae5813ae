#include "menu/KeyRepeat.h"

bool KeyRepeat::pressed(bool down, Clock::time_point now) {
    const bool pressedNow = down && !wasDown;
    wasDown = down;
    if (pressedNow) {
        nextRepeat = now + delay;
        return true;
    }
    if (!down || now < nextRepeat)
        return false;
    nextRepeat += interval;
    // A wait longer than the interval (a stalled picture) repeats once, not to catch up.
    if (nextRepeat <= now)
        nextRepeat = now + interval;
    return true;
}
