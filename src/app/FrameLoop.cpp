#include "app/FrameLoop.h"

#include <chrono>
#include <thread>

#include <OgreRenderSystem.h>
#include <OgreRoot.h>

#include "app/FixedFrameUpdater.h"
#include "app/FocusWatcher.h"

FrameLoop::FrameLoop(Ogre::Root& root, FixedFrameUpdater& updater, FocusWatcher& focus,
                     std::function<void()> afterFirstPicture)
    : root(root), updater(updater), focus(focus), afterFirstPicture(std::move(afterFirstPicture)) {}

void FrameLoop::run() {
    using Clock = std::chrono::steady_clock;
    root.getRenderSystem()->_initRenderTargets();
    root.clearEventTimes();
    // The match as it starts, at once: the player sees the window filled before the first step.
    bool first = true;
    for (;;) {
        if (!root._fireFrameStarted())
            return;
        const Clock::time_point due =
            Clock::now() + std::chrono::duration_cast<Clock::duration>(
                               std::chrono::duration<float>(updater.secondsToNextStep()));
        // Both asked every pass, so neither keeps a stale request for later.
        const bool stepped = updater.takePictureDue();
        const bool exposed = focus.takeExposed();
        if ((first || stepped || exposed) && !root._updateAllRenderTargets())
            return;
        if (first && afterFirstPicture)
            afterFirstPicture();
        first = false;
        if (!root._fireFrameEnded())
            return;
        std::this_thread::sleep_until(due);
    }
}
