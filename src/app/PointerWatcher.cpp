#include "app/PointerWatcher.h"

#include <X11/Xlib.h>

namespace {

const long pointerEvents =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

long selectedEvents(Display* display, Window window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    return attributes.your_event_mask;
}

} // namespace

PointerWatcher::PointerWatcher(_XDisplay* display, unsigned long window)
    : display(display), window(window) {
    XSelectInput(display, window, selectedEvents(display, window) | pointerEvents);
    // Where the pointer is before it first moves.
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int buttons = 0;
    if (XQueryPointer(display, window, &root, &child, &rootX, &rootY, &x, &y, &buttons)) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, window, &attributes);
        pointer.x = static_cast<float>(x);
        pointer.y = static_cast<float>(y);
        pointer.inside = x >= 0 && y >= 0 && x < attributes.width && y < attributes.height;
    }
}

PointerWatcher::~PointerWatcher() {
    XSelectInput(display, window, selectedEvents(display, window) & ~pointerEvents);
    XFlush(display);
}

MenuPointer PointerWatcher::poll() {
    pointer.button = held;
    XEvent event;
    while (XCheckWindowEvent(display, window, pointerEvents, &event)) {
        switch (event.type) {
        case MotionNotify:
            pointer.x = static_cast<float>(event.xmotion.x);
            pointer.y = static_cast<float>(event.xmotion.y);
            pointer.inside = true;
            break;
        case EnterNotify:
        case LeaveNotify:
            pointer.x = static_cast<float>(event.xcrossing.x);
            pointer.y = static_cast<float>(event.xcrossing.y);
            pointer.inside = event.type == EnterNotify;
            break;
        case ButtonPress:
            if (event.xbutton.button == Button1)
                held = pointer.button = true;
            break;
        case ButtonRelease:
            if (event.xbutton.button == Button1)
                held = false;
            break;
        default:
            break;
        }
    }
    return pointer;
}
