#pragma once

#include <OgreFrameListener.h>

// Ends the render loop after SIGINT, SIGTERM or SIGHUP as Escape does: the handler only notes
// the signal, and the loop ends at the start of the next frame, so the game is torn down in
// order and its log completed. A second signal of the same kind ends the process at once, once
// the recording open, if any, is completed and named. Owned by the Application, which installs
// it once the match exists; the handlers it replaced are restored when it is destroyed. Before
// and after, endAtOnceUntilWatched's handlers end the process at once in the same way, with 128
// plus the signal's number (1 when a recording could not be kept under its name).
class SignalWatcher : public Ogre::FrameListener {
public:
    SignalWatcher();
    ~SignalWatcher() override;

    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

    bool frameStarted(const Ogre::FrameEvent& evt) override;

    // Called first thing by the entry point, so that no signal finds the default action, which
    // would end the program without its exit status; SIGPIPE is ignored for good, so a dead
    // display connection is reported like any other loss of the display.
    static void endAtOnceUntilWatched();

    // The number of the first signal that asked the game to end, or 0; kept after the watcher
    // is gone, for the exit status.
    static int caught();
};
