#include "app/FixedFrameUpdater.h"

#include <OgreLogManager.h>

#include "controllers/Controllers.h"
#include "input/InputSystem.h"
#include "match/MatchDriver.h"

namespace {

void logToEngine(const std::string& line) {
    Ogre::LogManager::getSingleton().logMessage(line);
}

} // namespace

FixedFrameUpdater::FixedFrameUpdater(Ogre::RenderWindow* window, MatchDriver& driver,
                                     const Bindings& bindings)
    : input(std::make_unique<InputSystem>(window, bindings)),
      controllers(std::make_unique<Controllers>(bindings, logToEngine)), driver(driver) {}

FixedFrameUpdater::~FixedFrameUpdater() = default;

bool FixedFrameUpdater::frameStarted(const Ogre::FrameEvent& evt) {
    return clock.advance(evt.timeSinceLastFrame, [this] { return step(); });
}

bool FixedFrameUpdater::step() {
    controllers->poll();
    const bool goOn = driver.step(input->sample(controllers->held()));
    pictureDue = pictureDue || driver.pictureChanged();
    return goOn;
}

bool FixedFrameUpdater::takePictureDue() {
    const bool due = pictureDue;
    pictureDue = false;
    return due;
}
