#pragma once

#include <cstdint>

// The input delay a round trip calls for: the steps the other side's input needs to arrive
// (half the round trip, at 60 steps a second), from 1 to 4, so that rollback only has to
// mend the jitter.
int inputDelayFor(std::uint32_t roundTripMs);
