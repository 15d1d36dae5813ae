#include "app/WindowCloseWatcher.h"

WindowCloseWatcher::WindowCloseWatcher(Ogre::RenderWindow* window) : window(window) {
    OgreBites::WindowEventUtilities::_addRenderWindow(window);
    OgreBites::WindowEventUtilities::addWindowEventListener(window, this);
}

WindowCloseWatcher::~WindowCloseWatcher() {
    OgreBites::WindowEventUtilities::removeWindowEventListener(window, this);
    OgreBites::WindowEventUtilities::_removeRenderWindow(window);
}

bool WindowCloseWatcher::frameStarted(const Ogre::FrameEvent&) {
    OgreBites::WindowEventUtilities::messagePump();
    return !closeRequested;
}

// The window stays open until the render loop has ended: the logic step of this frame may
// still capture the keyboard on it.
bool WindowCloseWatcher::windowClosing(Ogre::RenderWindow*) {
    closeRequested = true;
    return false;
}

// Reported without a close request when the window was destroyed under the game.
void WindowCloseWatcher::windowClosed(Ogre::RenderWindow*) { closeRequested = true; }
