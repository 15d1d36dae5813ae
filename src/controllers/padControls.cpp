#include "controllers/padControls.h"

#include <cstdlib>

namespace {

// tan(22.5 degrees): the sectors' edges lie halfway between the axes and the diagonals.
constexpr double sectorEdge = 0.41421356237309503;

int sign(int value) {
    return value > 0 ? 1 : (value < 0 ? -1 : 0);
}

} // namespace

StickDirection stickDirection(int x, int y) {
    const long long squared = static_cast<long long>(x) * x + static_cast<long long>(y) * y;
    if (squared < static_cast<long long>(stickDeadZone) * stickDeadZone)
        return {};
    const double across = std::abs(x);
    const double along = std::abs(y);
    StickDirection direction;
    if (along >= across * sectorEdge)
        direction.v = -sign(y);
    if (across >= along * sectorEdge)
        direction.h = sign(x);
    return direction;
}

HeldControls padControls(const PadState& pad, const PlayerBindings& bindings) {
    HeldControls controls;
    for (int control = 0; control < Control::count; ++control) {
        for (PadButton::ePadButton button : bindings.buttons[control])
            controls.held[control] |= pad.held[button] || pad.pressed[button];
    }
    const StickDirection stick = stickDirection(pad.stickX, pad.stickY);
    controls.held[Control::Up] |= stick.v > 0;
    controls.held[Control::Down] |= stick.v < 0;
    controls.held[Control::Left] |= stick.h < 0;
    controls.held[Control::Right] |= stick.h > 0;
    return controls;
}
