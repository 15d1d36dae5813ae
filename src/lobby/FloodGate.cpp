#include "lobby/FloodGate.h"

#include <algorithm>

bool FloodGate::pass(double now) {
    if (started)
        level = std::min(burst, level + (now - last) * perSecond);
    started = true;
    last = now;
    if (level < 1)
        return false;
    level -= 1;
    return true;
}
