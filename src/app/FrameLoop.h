#pragma once

#include <functional>

#include "app/FramePass.h"

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
// for the display. Ends when a listener or the drawing asks to. The logic clock is told the time
// of each pass by the loop's own clock, to the nanosecond; each pass is timed (FramePass) and
// told to whoever watches the loop. Made by the Application for its run; nothing it is given is
// owned.
class FrameLoop {
public:
    struct Setup {
        // Once, when the first picture is drawn and before the first step: what the first
        // picture does not need waits for it.
        std::function<void()> afterFirstPicture;
        // Before every picture, to bring what only presents the match up to date.
        std::function<void()> beforePicture;
        // After every pass, with its times.
        std::function<void(const FramePass&)> passed;
        // The time of a pass as the engine's frame timer tells it, in whole milliseconds, as
        // the loop had it before: the loop woke when the next step was due, found the engine's
        // time short of it by the part of a millisecond it drops, and spun until its next
        // millisecond to run the step. Only the input-lag benchmark asks for it, to measure
        // the loop both ways in one run.
        bool engineTimer = false;
    };

    FrameLoop(Ogre::Root& root, FixedFrameUpdater& updater, FocusWatcher& focus,
              Setup setup);

    void run();

private:
    // Draws and swaps; false when a listener asks to end.
    bool picture(FramePass& pass);

    Ogre::Root& root;
    FixedFrameUpdater& updater;
    FocusWatcher& focus;
    Setup setup;
};
