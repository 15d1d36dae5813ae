#include "net/inputDelayFor.h"

#include <algorithm>
#include <cmath>

int inputDelayFor(std::uint32_t roundTripMs) {
    const double oneWaySteps = roundTripMs / 2.0 * 60.0 / 1000.0;
    return std::clamp(static_cast<int>(std::lround(oneWaySteps)), 1, 4);
}
