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
    constant[SpriteTrack] = neverChanges(sprite);
    constant[HitboxesTrack] = neverChanges(hitboxes);
    constant[HitPropsTrack] = neverChanges(hitProps);
    constant[MovementTrack] = neverChanges(movement);
}

void FrameAnimation::step() {
    stepTrack(sprite, constant[SpriteTrack], changed[SpriteTrack]);
    stepTrack(hitboxes, constant[HitboxesTrack], changed[HitboxesTrack]);
    stepTrack(movement, constant[MovementTrack], changed[MovementTrack]);
    stepTrack(hitProps, constant[HitPropsTrack], changed[HitPropsTrack]);
}

bool FrameAnimation::isFinished() const {
    return sprite.isFinished();
}

bool FrameAnimation::hasHitProps() const {
    return !hitProps.isEmpty();
}

FrameAnimPosition FrameAnimation::position() const {
    FrameAnimPosition position;
    position.tracks[SpriteTrack] = sprite.position();
    position.tracks[HitboxesTrack] = hitboxes.position();
    position.tracks[HitPropsTrack] = hitProps.position();
    position.tracks[MovementTrack] = movement.position();
    for (int track = 0; track < trackCount; ++track)
        position.changed[track] = changed[track];
    return position;
}

// A track that never changes is never moved to a new segment either.
bool FrameAnimation::fits(const FrameAnimPosition& position) const {
    for (int track = 0; track < trackCount; ++track)
        if (constant[track] && position.changed[track])
            return false;
    return sprite.fits(position.tracks[SpriteTrack]) &&
           hitboxes.fits(position.tracks[HitboxesTrack]) &&
           hitProps.fits(position.tracks[HitPropsTrack]) &&
           movement.fits(position.tracks[MovementTrack]);
}

void FrameAnimation::seek(const FrameAnimPosition& position) {
    sprite.seek(position.tracks[SpriteTrack]);
    hitboxes.seek(position.tracks[HitboxesTrack]);
    hitProps.seek(position.tracks[HitPropsTrack]);
    movement.seek(position.tracks[MovementTrack]);
    for (int track = 0; track < trackCount; ++track)
        changed[track] = position.changed[track];
}
