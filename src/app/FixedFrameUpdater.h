#pragma once

#include <array>
#include <bitset>
#include <memory>

#include <OgreFrameListener.h>

#include "app/FixedStepAccumulator.h"
#include "input/HeldControls.h"
#include "input/PadButton.h"

namespace Ogre {
class RenderWindow;
}
class ControllerInput;
class InputSystem;
class MatchDriver;
struct Bindings;
struct FramePass;

// The program's logic clock: on every pass of the frame loop it runs one logic step (the input of
// the keyboard and the game controllers, then the match driver) for every whole 1/60 s that has
// passed. The training driver takes such a tick as its own: it reads the keys on every one,
// paused or not, and runs a step of the match only when it plays. It tells the frame loop when
// the next step is due, whether the steps run since its last picture changed the screen, how
// long they took, and when F12 asked for the timing overlay. Owned by the Application and
// registered with the engine root as a frame listener; the driver is not owned.
class FixedFrameUpdater : public Ogre::FrameListener {
public:
    // The keys alone play until controllers are attached.
    FixedFrameUpdater(Ogre::RenderWindow* window, MatchDriver& driver, const Bindings& bindings);
    ~FixedFrameUpdater() override;

    bool frameStarted(const Ogre::FrameEvent& evt) override;
    // The time until the next frame is not caught up in steps: a change of scene took it.
    void dropElapsedTime() { dropElapsed = true; }

    // One logic step; false when the program is to end. The match still advances on that step.
    bool step();

    InputSystem& inputSystem() { return *input; }
    // What both controllers held at the last step.
    const std::array<HeldControls, 2>& padsHeld() const { return pads; }
    // The buttons both controllers pressed at the last step.
    std::array<std::bitset<PadButton::count>, 2> padButtons() const;
    // The players' keys and buttons from now on.
    void rebind(const Bindings& bindings);
    void attachControllers(std::unique_ptr<ControllerInput> opened);

    // Seconds from the last frame's start until the next step is due.
    float secondsToNextStep() const { return FixedStepAccumulator::stepLength - clock.accumulator; }
    // True once after steps that changed what the screen shows (or F12); the next call says
    // false until another such step runs.
    bool takePictureDue();
    // The steps run since the last call and their times, into the pass.
    void takeStepTimes(FramePass& pass);
    // True once after each press of F12.
    bool takeOverlayToggle();

private:
    FixedStepAccumulator clock;
    std::unique_ptr<InputSystem> input;
    std::unique_ptr<ControllerInput> controllers;
    MatchDriver& driver;
    std::array<HeldControls, 2> pads{};
    bool pictureDue = false;
    int steps = 0;
    double stepSeconds = 0;
    double worstStepSeconds = 0;
    // F12 held on the last step, and pressed since the last call.
    bool overlayKeyHeld = false;
    bool overlayToggle = false;
    bool dropElapsed = false;
};
