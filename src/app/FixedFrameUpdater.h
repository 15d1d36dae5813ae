#pragma once

#include <memory>

#include <OgreFrameListener.h>

#include "app/FixedStepAccumulator.h"

namespace Ogre {
class RenderWindow;
}
class Controllers;
class InputSystem;
class MatchDriver;
struct Bindings;

// The program's logic clock: before every rendered frame it runs one logic step (the input of
// the keyboard and the game controllers, then the match driver) for every whole 1/60 s that has
// passed. The training driver takes such a tick as its own: it reads the keys on every one,
// paused or not, and runs a step of the match only when it plays. Owned by the
// Application and registered with the engine root as a frame listener; the driver is not owned.
class FixedFrameUpdater : public Ogre::FrameListener {
public:
    FixedFrameUpdater(Ogre::RenderWindow* window, MatchDriver& driver,
                      const Bindings& bindings);
    ~FixedFrameUpdater() override;

    bool frameStarted(const Ogre::FrameEvent& evt) override;

    // One logic step; false when the program is to end. The match still advances on that step.
    bool step();

    InputSystem& inputSystem() { return *input; }

private:
    FixedStepAccumulator clock;
    std::unique_ptr<InputSystem> input;
    std::unique_ptr<Controllers> controllers;
    MatchDriver& driver;
};
