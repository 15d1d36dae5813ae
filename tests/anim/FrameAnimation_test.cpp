#include <gtest/gtest.h>

#include <string>

#include "anim/FrameAnimation.h"
#include "collision/HitProps.h"
#include "collision/HitboxInfo.h"

namespace {

struct Expected {
    int frame;
    char value;
    bool changed;
    bool finished;
};

FrameAnimTrack<char> trackAB(bool loop) {
    FrameAnimTrack<char> track;
    track.setLoop(loop);
    track.addSegment(2, 'A');
    track.addSegment(3, 'B');
    return track;
}

void expectSteps(FrameAnimTrack<char> track, const std::vector<Expected>& steps) {
    EXPECT_EQ(track.totalFrames, 5);
    EXPECT_EQ(track.currentFrame, 0);
    EXPECT_EQ(track.current(), 'A');
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const bool changed = track.advance();
        SCOPED_TRACE("step " + std::to_string(i + 1));
        EXPECT_EQ(track.currentFrame, steps[i].frame);
        EXPECT_EQ(track.current(), steps[i].value);
        EXPECT_EQ(changed, steps[i].changed);
        EXPECT_EQ(track.isFinished(), steps[i].finished);
    }
}

TEST(FrameAnimTrack, NonLoopingTwoPlusThreeFramesFinishesOnTheFifthStep) {
    expectSteps(trackAB(false), {{1, 'A', false, false},
                                 {2, 'B', true, false},
                                 {3, 'B', false, false},
                                 {4, 'B', false, false},
                                 {4, 'B', false, true},
                                 {4, 'B', false, true},
                                 {4, 'B', false, true}});
}

TEST(FrameAnimTrack, LoopingTwoPlusThreeFramesWrapsOnTheFifthStep) {
    expectSteps(trackAB(true), {{1, 'A', false, false},
                                {2, 'B', true, false},
                                {3, 'B', false, false},
                                {4, 'B', false, false},
                                {0, 'A', true, false},
                                {1, 'A', false, false},
                                {2, 'B', true, false}});
}

TEST(FrameAnimTrack, SingleSegmentTracks) {
    FrameAnimTrack<char> once;
    once.setLoop(false);
    once.addSegment(1, 'X');
    EXPECT_FALSE(once.loopsSingleSegment());
    EXPECT_FALSE(once.advance());
    EXPECT_TRUE(once.isFinished());
    EXPECT_EQ(once.current(), 'X');

    // A looping single segment reports a change every time it starts over.
    FrameAnimTrack<char> looping;
    looping.addSegment(3, 'Y');
    EXPECT_TRUE(looping.loopsSingleSegment());
    EXPECT_FALSE(looping.advance());
    EXPECT_FALSE(looping.advance());
    EXPECT_TRUE(looping.advance());
    EXPECT_EQ(looping.currentFrame, 0);
    EXPECT_FALSE(looping.isFinished());

    FrameAnimTrack<char> empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.loopsSingleSegment());
}

// An animation of the shape of the punch: 15 + 20 + 20 frames of sprite that play once, boxes
// and hit properties that loop over the same lengths, and one constant movement.
struct PunchLike {
    HitboxInfo standing;
    HitboxInfo punching;
    HitProps noHit;
    HitProps punchHit;
    FrameAnimation animation;

    PunchLike() {
        punchHit.active = true;
        animation.sprite.setLoop(false);
        for (int duration : {15, 20, 20})
            animation.sprite.addSegment(duration, 0);
        animation.hitboxes.addSegment(15, &standing);
        animation.hitboxes.addSegment(20, &punching);
        animation.hitboxes.addSegment(20, &standing);
        animation.hitProps.addSegment(15, &noHit);
        animation.hitProps.addSegment(20, &punchHit);
        animation.hitProps.addSegment(20, &noHit);
        animation.movement.addSegment(1, Ogre::Vector2(0.5f, 0));
        animation.computeConstantFlags();
    }
};

// A position from elsewhere fits only where stepping the track from its start leads: every such
// position does, and one whose frame count, segment or end disagrees would step the track past
// its segments.
TEST(FrameAnimTrack, OnlyPositionsAStraightRunReachesFit) {
    for (const bool loop : {false, true}) {
        FrameAnimTrack<char> track = trackAB(loop);
        for (int step = 0; step < 8; ++step, track.advance())
            EXPECT_TRUE(trackAB(loop).fits(track.position())) << "step " << step;
        EXPECT_FALSE(trackAB(loop).fits({3, 0, 1, false})) << "frame 3 is not A's second";
        EXPECT_FALSE(trackAB(loop).fits({2, 1, 2, false})) << "B's third frame is frame 4";
        EXPECT_FALSE(trackAB(loop).fits({3, 1, 1, true})) << "finished before the end";
        EXPECT_FALSE(trackAB(loop).fits({0, 2, 0, false})) << "no third segment";
    }
    EXPECT_FALSE(trackAB(true).fits({4, 1, 2, true})) << "a looping track never finishes";
    FrameAnimTrack<char> empty;
    EXPECT_TRUE(empty.fits({0, 0, 0, false}));
    EXPECT_FALSE(empty.fits({1, 0, 0, false}));
    EXPECT_FALSE(empty.fits({0, 0, 0, true}));
}

TEST(FrameAnimation, ConstantFlagsMarkEmptyAndSingleLoopingTracks) {
    FrameAnimation animation;
    for (bool flag : animation.changed)
        EXPECT_FALSE(flag);
    animation.sprite.addSegment(1, 0);
    animation.movement.setLoop(false);
    animation.movement.addSegment(4, Ogre::Vector2(1, 0));
    HitboxInfo boxes;
    animation.hitboxes.addSegment(2, &boxes);
    animation.hitboxes.addSegment(2, &boxes);
    animation.computeConstantFlags();
    EXPECT_TRUE(animation.constant[FrameAnimation::SpriteTrack]);
    EXPECT_FALSE(animation.constant[FrameAnimation::HitboxesTrack]);
    EXPECT_TRUE(animation.constant[FrameAnimation::HitPropsTrack]);
    EXPECT_FALSE(animation.constant[FrameAnimation::MovementTrack]);
    EXPECT_FALSE(animation.hasHitProps());

    // Constant tracks are never stepped: a one-frame looping sprite never reports a change and
    // an empty track is never touched.
    for (int i = 0; i < 5; ++i) {
        animation.step();
        EXPECT_FALSE(animation.changed[FrameAnimation::SpriteTrack]);
        EXPECT_FALSE(animation.changed[FrameAnimation::HitPropsTrack]);
    }
    EXPECT_EQ(animation.sprite.currentFrame, 0);
    EXPECT_FALSE(animation.isFinished());
    EXPECT_TRUE(animation.movement.isFinished());

    // So a position from elsewhere that says one of them changed is no position of this one.
    EXPECT_TRUE(animation.fits(animation.position()));
    FrameAnimPosition changedHitProps = animation.position();
    changedHitProps.changed[FrameAnimation::HitPropsTrack] = true;
    EXPECT_FALSE(animation.fits(changedHitProps));
}

TEST(FrameAnimation, PunchShapedAnimationFramesAndEnd) {
    PunchLike punch;
    FrameAnimation animation = punch.animation;
    ASSERT_TRUE(animation.hasHitProps());
    EXPECT_EQ(animation.currentHitboxes(), &punch.standing);
    for (int step = 1; step <= 55; ++step) {
        animation.step();
        SCOPED_TRACE("step " + std::to_string(step));
        const bool punching = step >= 15 && step < 35;
        // Only the end of the sprite track ends the animation, on the 55th step, when the
        // looping boxes and hit properties have just wrapped.
        EXPECT_EQ(animation.isFinished(), step == 55);
        EXPECT_EQ(animation.currentHitboxes(), punching ? &punch.punching : &punch.standing);
        EXPECT_EQ(animation.currentHitProps()->active, punching);
        const bool newSegment = step == 15 || step == 35 || step == 55;
        EXPECT_EQ(animation.changed[FrameAnimation::HitboxesTrack], newSegment);
        EXPECT_EQ(animation.changed[FrameAnimation::HitPropsTrack], newSegment);
        EXPECT_EQ(animation.changed[FrameAnimation::SpriteTrack], step == 15 || step == 35);
        EXPECT_FALSE(animation.changed[FrameAnimation::MovementTrack]);
        EXPECT_EQ(animation.currentMovement(), Ogre::Vector2(0.5f, 0));
    }
    EXPECT_EQ(animation.sprite.currentFrame, 54);
    EXPECT_EQ(animation.hitboxes.currentFrame, 0);
}

TEST(FrameAnimation, CopiesKeepTheirProgressAndTheStoredOneStaysFresh) {
    PunchLike punch;
    FrameAnimation playing = punch.animation;
    for (int i = 0; i < 15; ++i)
        playing.step();
    const FrameAnimation copy = playing;
    EXPECT_EQ(copy.sprite.currentFrame, 15);
    EXPECT_EQ(copy.hitboxes.segmentIndex, 1);
    EXPECT_TRUE(copy.changed[FrameAnimation::HitboxesTrack]);
    EXPECT_EQ(copy.currentHitProps(), &punch.punchHit);

    FrameAnimation assigned;
    assigned = playing;
    for (int i = 0; i < 40; ++i) {
        assigned.step();
        playing.step();
    }
    EXPECT_TRUE(assigned.isFinished());
    EXPECT_TRUE(playing.isFinished());
    EXPECT_EQ(copy.sprite.currentFrame, 15);

    const FrameAnimation fresh = punch.animation;
    EXPECT_EQ(fresh.sprite.currentFrame, 0);
    EXPECT_FALSE(fresh.isFinished());
    for (bool flag : fresh.changed)
        EXPECT_FALSE(flag);
}

} // namespace
