#include "app/FrameLoop.h"

#include <chrono>
#include <thread>

#include <OgreRenderSystem.h>
#include <OgreRoot.h>

#include "app/FixedFrameUpdater.h"
#include "app/FocusWatcher.h"

FrameLoop::FrameLoop(Ogre::Root& root, FixedFrameUpdater& updater, FocusWatcher& focus,
                     Setup setup)
    : root(root), updater(updater), focus(focus), setup(std::move(setup)) {}

void FrameLoop::run() {
    using Clock = std::chrono::steady_clock;
    root.getRenderSystem()->_initRenderTargets();
    root.clearEventTimes();
    // The match as it starts, at once: the player sees the window filled before the first step.
    bool first = true;
    FramePass pass;
    pass.due = Clock::now();
    Clock::time_point lastWoke = pass.due;
    for (;;) {
        pass.woke = Clock::now();
        Ogre::FrameEvent event;
        event.timeSinceLastFrame = event.timeSinceLastEvent =
            std::chrono::duration<float>(pass.woke - lastWoke).count();
        lastWoke = pass.woke;
        if (!(setup.engineTimer ? root._fireFrameStarted() : root._fireFrameStarted(event)))
            return;
        pass.stepped = Clock::now();
        updater.takeStepTimes(pass);
        const Clock::time_point due =
            Clock::now() + std::chrono::duration_cast<Clock::duration>(
                               std::chrono::duration<float>(updater.secondsToNextStep()));
        // Both asked every pass, so neither keeps a stale request for later.
        const bool stepped = updater.takePictureDue();
        const bool exposed = focus.takeExposed();
        if ((first || stepped || exposed) && !picture(pass))
            return;
        if (first && setup.afterFirstPicture)
            setup.afterFirstPicture();
        first = false;
        if (setup.passed)
            setup.passed(pass);
        if (!root._fireFrameEnded())
            return;
        std::this_thread::sleep_until(due);
        pass = FramePass{};
        pass.due = due;
    }
}

// The engine's own drawing of every window, in its parts, so that the drawing and the swap are
// timed apart (the engine's whole would also send the scene's level-of-detail events; the game
// has no levels of detail).
bool FrameLoop::picture(FramePass& pass) {
    if (setup.beforePicture)
        setup.beforePicture();
    Ogre::RenderSystem* renderer = root.getRenderSystem();
    renderer->_updateAllRenderTargets(false);
    pass.drawn = std::chrono::steady_clock::now();
    const bool goOn = root._fireFrameRenderingQueued();
    renderer->_swapAllRenderTargetBuffers();
    pass.swapped = std::chrono::steady_clock::now();
    pass.pictured = true;
    return goOn;
}
