#pragma once

#include <OgreFrameListener.h>

struct _XDisplay;
class InputSystem;

// Tells the input system when the game's window loses and regains the keyboard focus, and
// which keys are really held when it starts and whenever the focus comes back: the input
// library hears no key while another window has the focus, so a key released there would
// stay down for good. Reads the window's focus events on the Application's own X connection,
// once per pass of the frame loop, and notes for the loop when the window was exposed and must
// be drawn again though no step changed it (the connection selects the window's events once).
// Owned by the Application; the connection and the input system are not owned.
class FocusWatcher : public Ogre::FrameListener {
public:
    FocusWatcher(_XDisplay* display, unsigned long window, InputSystem& input);

    bool frameStarted(const Ogre::FrameEvent& evt) override;

    // True once after the window was exposed.
    bool takeExposed();

private:
    _XDisplay* display;
    unsigned long window;
    InputSystem& input;
    bool exposed = false;
};
