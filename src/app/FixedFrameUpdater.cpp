#include "app/FixedFrameUpdater.h"

#include <algorithm>
#include <chrono>

#include "app/FramePass.h"
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
    if (dropElapsed) {
        dropElapsed = false;
        clock.accumulator = 0;
        return true;
    }
    return clock.advance(evt.timeSinceLastFrame, [this] { return step(); });
}

bool FixedFrameUpdater::step() {
    const auto start = std::chrono::steady_clock::now();
    if (controllers) {
        controllers->poll();
        pads = controllers->held();
    }
    const StepInput sampled = input->sample(pads);
    if (sampled.keys.timingOverlay && !overlayKeyHeld)
        overlayToggle = pictureDue = true;
    overlayKeyHeld = sampled.keys.timingOverlay;
    const bool goOn = driver.step(sampled);
    pictureDue = pictureDue || driver.pictureChanged();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++steps;
    stepSeconds += seconds;
    worstStepSeconds = std::max(worstStepSeconds, seconds);
    return goOn;
}

std::array<std::bitset<PadButton::count>, 2> FixedFrameUpdater::padButtons() const {
    return controllers ? controllers->pressed() : std::array<std::bitset<PadButton::count>, 2>{};
}

void FixedFrameUpdater::rebind(const Bindings& bindings) {
    input->rebind(bindings);
    if (controllers)
        controllers->rebind(bindings);
}

bool FixedFrameUpdater::takePictureDue() {
    const bool due = pictureDue;
    pictureDue = false;
    return due;
}

void FixedFrameUpdater::takeStepTimes(FramePass& pass) {
    pass.steps = steps;
    pass.stepSeconds = stepSeconds;
    pass.worstStepSeconds = worstStepSeconds;
    steps = 0;
    stepSeconds = worstStepSeconds = 0;
}

bool FixedFrameUpdater::takeOverlayToggle() {
    const bool toggle = overlayToggle;
    overlayToggle = false;
    return toggle;
}
