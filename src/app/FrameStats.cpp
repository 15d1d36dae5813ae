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
    int pictures = 0;
    double pictureMs = 0;
    const FramePass* firstPicture = nullptr;
    const FramePass* lastPicture = nullptr;
    for (const FramePass& pass : recent) {
        steps += pass.steps;
        stepMs += 1000 * pass.stepSeconds;
        figures.stepWorstMs = std::max(figures.stepWorstMs, 1000 * pass.worstStepSeconds);
        if (!pass.pictured)
            continue;
        ++pictures;
        firstPicture = firstPicture ? firstPicture : &pass;
        lastPicture = &pass;
        const double ms = msBetween(pass.stepped, pass.swapped);
        pictureMs += ms;
        figures.pictureWorstMs = std::max(figures.pictureWorstMs, ms);
    }
    if (steps > 0)
        figures.stepMeanMs = stepMs / steps;
    if (pictures == 0)
        return figures;
    figures.pictureMeanMs = pictureMs / pictures;
    // From the intervals between the pictures: a second holds 60 or 61 of them at 60 a second,
    // as the first falls on its edge or not.
    const double spanMs = msBetween(firstPicture->swapped, lastPicture->swapped);
    figures.picturesPerSecond = spanMs > 0 ? 1000 * (pictures - 1) / spanMs : pictures;
    return figures;
}
