#pragma once

#include <OgreFrameListener.h>

namespace Ogre {
class RenderWindow;
}
struct _XDisplay;
union _XEvent;

// Ends the render loop when the window manager asks to close the game's window, as Escape
// does, and when another program destroys the window outright. Reads the window's own events
// on the render system's X connection once per pass of the frame loop, and keeps the window's
// size and visibility up to date from them as the engine expects. Owned by the Application.
class WindowCloseWatcher : public Ogre::FrameListener {
public:
    explicit WindowCloseWatcher(Ogre::RenderWindow* window);

    bool frameStarted(const Ogre::FrameEvent& evt) override;

private:
    void handle(const _XEvent& event);
    void setShown(bool shown);

    Ogre::RenderWindow* window;
    _XDisplay* display = nullptr;
    unsigned long handleId = 0;
    // The window manager's close request, WM_DELETE_WINDOW.
    unsigned long closeAtom = 0;
    bool closeRequested = false;
};
