#pragma once

#include <Bites/OgreWindowEventUtilities.h>
#include <OgreFrameListener.h>

// Ends the render loop when the window manager asks to close the game's window, as Escape
// does, and when another program destroys the window outright. The window's events reach the
// program only through this pump, once per pass of the frame loop. Owned by the Application.
class WindowCloseWatcher : public Ogre::FrameListener, public OgreBites::WindowEventListener {
public:
    explicit WindowCloseWatcher(Ogre::RenderWindow* window);
    ~WindowCloseWatcher() override;

    bool frameStarted(const Ogre::FrameEvent& evt) override;
    bool windowClosing(Ogre::RenderWindow* window) override;
    void windowClosed(Ogre::RenderWindow* window) override;

private:
    Ogre::RenderWindow* window;
    bool closeRequested = false;
};
