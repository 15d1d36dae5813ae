#include "anim/FrameAnimation.h"

namespace {

template <typename T> bool neverChanges(const FrameAnimTrack<T>& track) {
    return track.loopsSingleSegment() || track.isEmpty();
}

template <typename T> void stepTrack(FrameAnimTrack<T>& track, bool isConstant, bool& changed) {
    if (!isConstant)
        changed = track.advance();
}

} // namespace

void FrameAnimation::computeConstantFlags() {
    constant[MaterialTrack] = neverChanges(material);
    constant[HitboxesTrack] = neverChanges(hitboxes);
    constant[HitPropsTrack] = neverChanges(hitProps);
    constant[MovementTrack] = neverChanges(movement);
}

void FrameAnimation::step() {
    stepTrack(material, constant[MaterialTrack], changed[MaterialTrack]);
    stepTrack(hitboxes, constant[HitboxesTrack], changed[HitboxesTrack]);
    stepTrack(movement, constant[MovementTrack], changed[MovementTrack]);
    stepTrack(hitProps, constant[HitPropsTrack], changed[HitPropsTrack]);
}

bool FrameAnimation::isFinished() const {
    return material.isFinished();
}

bool FrameAnimation::hasHitProps() const {
    return !hitProps.isEmpty();
}
