#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep: broken, the run stops as at a crash, and libFuzzer keeps
// the input that broke it.
inline void expect(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}
