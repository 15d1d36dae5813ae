#include <gtest/gtest.h>

#include "controllers/padControls.h"

namespace {

TEST(StickDirection, RestsInTheDeadZoneAndSplitsTheCircleIntoEightEqualSectors) {
    struct Case {
        int x, y, h, v;
    };
    // SDL's y grows downwards. 22.5 degrees is the edge between a direction and a diagonal.
    const Case cases[] = {
        {0, 0, 0, 0},
        {7999, 0, 0, 0},
        {5600, -5600, 0, 0},
        {8000, 0, 1, 0},
        {-32768, 0, -1, 0},
        {0, -32768, 0, 1},
        {0, 32767, 0, -1},
        {20000, 20000, 1, -1},
        {-20000, -20000, -1, 1},
        {30000, 12000, 1, 0},
        {30000, 12800, 1, -1},
        {12000, 30000, 0, -1},
        {-12800, 30000, -1, -1},
        {-30000, -12000, -1, 0},
    };
    for (const Case& c : cases) {
        const StickDirection direction = stickDirection(c.x, c.y);
        EXPECT_EQ(direction.h, c.h) << c.x << ", " << c.y;
        EXPECT_EQ(direction.v, c.v) << c.x << ", " << c.y;
    }
}

TEST(PadControls, TheBoundButtonsAndTheStickHoldTheControls) {
    PlayerBindings bindings = Bindings::defaults().players[0];
    bindings.buttons[Control::Kick] = {PadButton::B, PadButton::RightShoulder};
    PadState pad;
    pad.held[PadButton::DpadUp] = true;
    pad.pressed[PadButton::RightShoulder] = true;
    pad.held[PadButton::Y] = true;
    pad.stickX = -20000;
    const HeldControls controls = padControls(pad, bindings);
    const bool expected[Control::count] = {true, false, true, false, false, true};
    for (int control = 0; control < Control::count; ++control)
        EXPECT_EQ(controls.held[control], expected[control]) << Control::names[control];
}

} // namespace
