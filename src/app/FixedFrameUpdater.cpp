#include "app/FixedFrameUpdater.h"

#include "input/InputSystem.h"
#include "match/MatchDriver.h"

FixedFrameUpdater::FixedFrameUpdater(Ogre::RenderWindow* window, MatchDriver& driver)
    : input(std::make_unique<InputSystem>(window)), driver(driver) {}

FixedFrameUpdater::~FixedFrameUpdater() = default;

bool FixedFrameUpdater::frameStarted(const Ogre::FrameEvent& evt) {
    return clock.advance(evt.timeSinceLastFrame, [this] { return step(); });
}

bool FixedFrameUpdater::step() {
    return driver.step(input->sample());
}
