#include "cpu/CpuPlan.h"

const CpuPlan::Segment& CpuPlan::segmentAt(int i) const {
    for (int s = 0; s < count - 1; ++s) {
        if (i < segments[static_cast<std::size_t>(s)].steps)
            return segments[static_cast<std::size_t>(s)];
        i -= segments[static_cast<std::size_t>(s)].steps;
    }
    return segments[static_cast<std::size_t>(count - 1)];
}

InputFrame CpuPlan::frameAt(int i, bool facingLeft) const {
    InputFrame frame;
    int start = 0;
    for (int s = 0; s < count; ++s) {
        const Segment& segment = segments[static_cast<std::size_t>(s)];
        const bool last = s == count - 1;
        if (i < start + segment.steps || last) {
            frame.direction = mirrorDirection(segment.relative, facingLeft);
            if (segment.button >= 0 && i == start)
                frame.pressed[segment.button] = true;
            return frame;
        }
        start += segment.steps;
    }
    return frame;
}

int CpuPlan::firstPress() const {
    int start = 0;
    for (int s = 0; s < count; ++s) {
        if (segments[static_cast<std::size_t>(s)].button >= 0)
            return start;
        start += segments[static_cast<std::size_t>(s)].steps;
    }
    return -1;
}

int CpuPlan::motionSteps() const {
    int steps = 0;
    for (int s = 0; s < count && segments[static_cast<std::size_t>(s)].motion; ++s)
        steps += segments[static_cast<std::size_t>(s)].steps;
    return steps;
}
