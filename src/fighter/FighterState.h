#pragma once

#include <array>

#include "anim/FrameAnimPosition.h"
#include "fighter/PlayerState.h"
#include "input/InputFrame.h"

// Everything one fighter carries from one logic step to the next, as a plain value: its state,
// which action's animation it plays and where that animation stands, its input history and
// whether its boxes are shown. A Player saves and restores itself through it.
struct FighterState {
    static constexpr int historyLength = 60;

    PlayerState state;
    PlayerState::Action animationAction = PlayerState::Idle;
    FrameAnimPosition animation;
    // Newest first.
    std::array<InputFrame, historyLength> history{};
    int frameCounter = 0;
    bool hitboxesShown = false;
};
