#include "app/FixedFrameUpdater.h"

#include "app/MatchTick.h"
#include "input/InputSystem.h"

FixedFrameUpdater::FixedFrameUpdater(Ogre::RenderWindow* window)
    : input(std::make_unique<InputSystem>(window)), matchTick(std::make_unique<MatchTick>()) {}

// The input system shuts down first, as it was created first.
FixedFrameUpdater::~FixedFrameUpdater() {
    input.reset();
    matchTick.reset();
}

bool FixedFrameUpdater::frameStarted(const Ogre::FrameEvent& evt) {
    return clock.advance(evt.timeSinceLastFrame, [this] { return step(); });
}

bool FixedFrameUpdater::step() {
    const bool keepRunning = input->update();
    matchTick->tick();
    return keepRunning;
}
