#pragma once

#include "menu/MenuInput.h"

struct _XDisplay;

// The mouse over the game's window, for the menus: where the pointer is, whether it is over
// the window, and whether its left button is held or was pressed since the step before, so a
// click between two steps counts. Reads the window's pointer events on the Application's own
// X connection, once per step; the events selected there for others stay selected. Owned by
// whoever runs the menus; the connection is not owned.
class PointerWatcher {
public:
    PointerWatcher(_XDisplay* display, unsigned long window);
    ~PointerWatcher();

    PointerWatcher(const PointerWatcher&) = delete;
    PointerWatcher& operator=(const PointerWatcher&) = delete;

    // Takes the pointer's events since the step before.
    MenuPointer poll();

private:
    _XDisplay* display;
    unsigned long window;
    MenuPointer pointer;
    bool held = false;
};
