#pragma once

#include <memory>

#include <OgreFrameListener.h>

#include "app/FixedStepAccumulator.h"

namespace Ogre {
class RenderWindow;
}
class InputSystem;
class MatchTick;

// The program's logic clock: before every rendered frame it runs one logic step (input, then
// the match tick) for every whole 1/60 s that has passed. Owned by the Application and
// registered with the engine root as a frame listener.
class FixedFrameUpdater : public Ogre::FrameListener {
public:
    explicit FixedFrameUpdater(Ogre::RenderWindow* window);
    ~FixedFrameUpdater() override;

    bool frameStarted(const Ogre::FrameEvent& evt) override;

    // One logic step; false when the program is to end. The match still advances on that step.
    bool step();

private:
    FixedStepAccumulator clock;
    std::unique_ptr<InputSystem> input;
    std::unique_ptr<MatchTick> matchTick;
};
