#pragma once

// One value of an animation track, shown for a whole number of logic steps (at least 1).
template <typename T> struct FrameAnimSegment {
    FrameAnimSegment(int duration, T value) : duration(duration), value(value) {}

    int duration;
    T value;
};
