#pragma once

#include <array>

#include "input/InputFrame.h"

// A course of action as a player would enter it: directions held for some steps, relative to
// the way the fighter faces (Right is forward, Left is back), a button pressed on a step, the
// special move entered as its fighter's motion. The last segment is held for as long as the plan is
// played. A plain record; the computer player's options and its guesses of the other player
// are written as plans.
struct CpuPlan {
    struct Segment {
        Direction::eDirection relative = Direction::Neutral;
        int steps = 1;
        // The button pressed on the segment's first step, or -1.
        int button = -1;
        // Part of the special move's motion.
        bool motion = false;
    };

    // A walk, a special move's motion of the most steps a fighter's file allows, and the plan's
    // end.
    std::array<Segment, 6> segments{};
    int count = 0;

    // The segment played on step i of the plan.
    const Segment& segmentAt(int i) const;
    // The frame the plan holds on step i, for a fighter facing this way.
    InputFrame frameAt(int i, bool facingLeft) const;
    // The first step on which the plan presses a button, or -1.
    int firstPress() const;
    // Steps until the plan's motion is entered: a choice is not changed before.
    int motionSteps() const;
};
