#include "app/FixedFrameUpdater.h"

#include "controllers/ControllerInput.h"
#include "input/InputSystem.h"
#include "match/MatchDriver.h"

FixedFrameUpdater::FixedFrameUpdater(Ogre::RenderWindow* window, MatchDriver& driver,
                                     const Bindings& bindings)
    : input(std::make_unique<InputSystem>(window, bindings)), driver(driver) {}

FixedFrameUpdater::~FixedFrameUpdater() = default;

void FixedFrameUpdater::attachControllers(std::unique_ptr<ControllerInput> opened) {
    controllers = std::move(opened);
}

bool FixedFrameUpdater::frameStarted(const Ogre::FrameEvent& evt) {
    return clock.advance(evt.timeSinceLastFrame, [this] { return step(); });
}

bool FixedFrameUpdater::step() {
    std::array<HeldControls, 2> padsHeld{};
    if (controllers) {
        controllers->poll();
        padsHeld = controllers->held();
    }
    const bool goOn = driver.step(input->sample(padsHeld));
    pictureDue = pictureDue || driver.pictureChanged();
    return goOn;
}

bool FixedFrameUpdater::takePictureDue() {
    const bool due = pictureDue;
    pictureDue = false;
    return due;
}
