#pragma once

#include <functional>

namespace Ogre {
class Root;
}
class FixedFrameUpdater;
class FocusWatcher;

// The program's render loop, in place of the engine's own, which draws as fast as it can. Each
// pass tells the frame listeners a frame has started (signals, the window's events and focus,
// then the logic steps that are due), draws one picture only when those steps changed the
// screen or the window was exposed, and sleeps until the next step is due. So the screen shows
// every step once, however fast the machine draws; with vertical sync on, the picture also waits
// for the display. Ends when a listener or the drawing asks to. What the first picture does not
// need can wait for it: afterFirstPicture runs once it is drawn, before the first step. Made by
// the Application for its run; nothing it is given is owned.
class FrameLoop {
public:
    FrameLoop(Ogre::Root& root, FixedFrameUpdater& updater, FocusWatcher& focus,
              std::function<void()> afterFirstPicture = {});

    void run();

private:
    Ogre::Root& root;
    FixedFrameUpdater& updater;
    FocusWatcher& focus;
    std::function<void()> afterFirstPicture;
};
