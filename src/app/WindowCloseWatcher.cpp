#include "app/WindowCloseWatcher.h"

#include <OgreRenderWindow.h>
#include <X11/Xlib.h>

WindowCloseWatcher::WindowCloseWatcher(Ogre::RenderWindow* window) : window(window) {
    window->getCustomAttribute("XDISPLAY", &display);
    window->getCustomAttribute("WINDOW", &handleId);
    Atom atom = 0;
    window->getCustomAttribute("ATOM", &atom);
    closeAtom = atom;
}

// The render system selected the structure, visibility and focus events on its window; the
// close request comes under no mask. Both are taken off its queue here, or they would pile up.
bool WindowCloseWatcher::frameStarted(const Ogre::FrameEvent&) {
    XEvent event;
    const long mask = StructureNotifyMask | VisibilityChangeMask | FocusChangeMask;
    while (!window->isClosed() && XCheckWindowEvent(display, handleId, mask, &event))
        handle(event);
    while (!window->isClosed() && XCheckTypedWindowEvent(display, handleId, ClientMessage, &event))
        handle(event);
    return !closeRequested;
}

// The window stays open on a close request until the render loop has ended: the logic step of
// this frame may still capture the keyboard on it. Destroyed under the game, it is closed at once.
void WindowCloseWatcher::handle(const XEvent& event) {
    switch (event.type) {
    case ClientMessage:
        if (event.xclient.format == 32 &&
            static_cast<unsigned long>(event.xclient.data.l[0]) == closeAtom)
            closeRequested = true;
        break;
    case DestroyNotify:
        closeRequested = true;
        window->destroy();
        break;
    case ConfigureNotify:
        window->windowMovedOrResized();
        break;
    case MapNotify:
        window->setActive(true);
        break;
    case UnmapNotify:
        setShown(false);
        break;
    case VisibilityNotify:
        setShown(event.xvisibility.state != VisibilityFullyObscured);
        break;
    default:
        break;
    }
}

// A window nobody can see is not drawn.
void WindowCloseWatcher::setShown(bool shown) {
    window->setActive(shown);
    window->setVisible(shown);
}
