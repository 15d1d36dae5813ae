#include "app/FrameStats.h"

#include <algorithm>

namespace {

double msBetween(FramePass::Time from, FramePass::Time to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace

void FrameStats::add(const FramePass& pass) {
    recent.push_back(pass);
    while (pass.woke - recent.front().woke >= std::chrono::seconds(1))
        recent.pop_front();
}

FrameFigures FrameStats::figures() const {
    FrameFigures figures;
    int steps = 0;
    double stepMs = 0;
    double pictureMs = 0;
    for (const FramePass& pass : recent) {
        steps += pass.steps;
        stepMs += 1000 * pass.stepSeconds;
        figures.stepWorstMs = std::max(figures.stepWorstMs, 1000 * pass.worstStepSeconds);
        if (!pass.pictured)
            continue;
        ++figures.pictures;
        const double ms = msBetween(pass.stepped, pass.swapped);
        pictureMs += ms;
        figures.pictureWorstMs = std::max(figures.pictureWorstMs, ms);
    }
    if (steps > 0)
        figures.stepMeanMs = stepMs / steps;
    if (figures.pictures > 0)
        figures.pictureMeanMs = pictureMs / figures.pictures;
    return figures;
}
