#pragma once

#include <cstdio>
#include <ctime>

// The system-wide monotonic clock in nanoseconds, printed on stdout: the start-up benchmark
// reads it as the moment of the probe's first picture.
inline void printMonotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
}
