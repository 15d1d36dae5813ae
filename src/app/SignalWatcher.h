#pragma once

#include <OgreFrameListener.h>

// Ends the render loop after SIGINT, SIGTERM or SIGHUP as Escape does: the handler only notes
// the signal, and the loop ends at the start of the next frame, so the game is torn down in
// order and its log completed. A second signal of the same kind ends the process at once.
// Owned by the Application, which installs it when the game starts to run; the handlers are
// restored to their defaults when it is destroyed.
class SignalWatcher : public Ogre::FrameListener {
public:
    SignalWatcher();
    ~SignalWatcher() override;

    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

    bool frameStarted(const Ogre::FrameEvent& evt) override;

    // The number of the first signal that asked the game to end, or 0; kept after the watcher
    // is gone, for the exit status.
    static int caught();
};
