#include "app/FocusWatcher.h"

#include <bitset>

#include <OISKeyboard.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "input/InputSystem.h"

namespace {

// The keys the input library knows, by the symbol it reads them by. Keys missing here count as
// released when the focus comes back, until pressed again.
struct KeyName {
    KeySym symbol;
    OIS::KeyCode key;
};

const KeyName keyNames[] = {
    {XK_Escape, OIS::KC_ESCAPE},   {XK_F1, OIS::KC_F1},         {XK_F2, OIS::KC_F2},
    {XK_F3, OIS::KC_F3},           {XK_F4, OIS::KC_F4},         {XK_F5, OIS::KC_F5},
    {XK_F6, OIS::KC_F6},           {XK_F7, OIS::KC_F7},         {XK_F8, OIS::KC_F8},
    {XK_F9, OIS::KC_F9},           {XK_F10, OIS::KC_F10},       {XK_F11, OIS::KC_F11},
    {XK_F12, OIS::KC_F12},         {XK_1, OIS::KC_1},           {XK_2, OIS::KC_2},
    {XK_3, OIS::KC_3},             {XK_4, OIS::KC_4},           {XK_5, OIS::KC_5},
    {XK_6, OIS::KC_6},             {XK_7, OIS::KC_7},           {XK_8, OIS::KC_8},
    {XK_9, OIS::KC_9},             {XK_0, OIS::KC_0},           {XK_a, OIS::KC_A},
    {XK_b, OIS::KC_B},             {XK_c, OIS::KC_C},           {XK_d, OIS::KC_D},
    {XK_e, OIS::KC_E},             {XK_f, OIS::KC_F},           {XK_g, OIS::KC_G},
    {XK_h, OIS::KC_H},             {XK_i, OIS::KC_I},           {XK_j, OIS::KC_J},
    {XK_k, OIS::KC_K},             {XK_l, OIS::KC_L},           {XK_m, OIS::KC_M},
    {XK_n, OIS::KC_N},             {XK_o, OIS::KC_O},           {XK_p, OIS::KC_P},
    {XK_q, OIS::KC_Q},             {XK_r, OIS::KC_R},           {XK_s, OIS::KC_S},
    {XK_t, OIS::KC_T},             {XK_u, OIS::KC_U},           {XK_v, OIS::KC_V},
    {XK_w, OIS::KC_W},             {XK_x, OIS::KC_X},           {XK_y, OIS::KC_Y},
    {XK_z, OIS::KC_Z},             {XK_space, OIS::KC_SPACE},   {XK_Return, OIS::KC_RETURN},
    {XK_Tab, OIS::KC_TAB},         {XK_BackSpace, OIS::KC_BACK}, {XK_Shift_L, OIS::KC_LSHIFT},
    {XK_Shift_R, OIS::KC_RSHIFT},  {XK_Control_L, OIS::KC_LCONTROL},
    {XK_Control_R, OIS::KC_RCONTROL}, {XK_Alt_L, OIS::KC_LMENU}, {XK_Alt_R, OIS::KC_RMENU},
    {XK_Up, OIS::KC_UP},           {XK_Down, OIS::KC_DOWN},     {XK_Left, OIS::KC_LEFT},
    {XK_Right, OIS::KC_RIGHT},     {XK_Home, OIS::KC_HOME},     {XK_End, OIS::KC_END},
    {XK_Prior, OIS::KC_PGUP},      {XK_Next, OIS::KC_PGDOWN},   {XK_Insert, OIS::KC_INSERT},
    {XK_Delete, OIS::KC_DELETE},   {XK_KP_0, OIS::KC_NUMPAD0},  {XK_KP_1, OIS::KC_NUMPAD1},
    {XK_KP_2, OIS::KC_NUMPAD2},    {XK_KP_3, OIS::KC_NUMPAD3},  {XK_KP_4, OIS::KC_NUMPAD4},
    {XK_KP_5, OIS::KC_NUMPAD5},    {XK_KP_6, OIS::KC_NUMPAD6},  {XK_KP_7, OIS::KC_NUMPAD7},
    {XK_KP_8, OIS::KC_NUMPAD8},    {XK_KP_9, OIS::KC_NUMPAD9},  {XK_KP_Enter, OIS::KC_NUMPADENTER},
    {XK_KP_Add, OIS::KC_ADD},      {XK_KP_Subtract, OIS::KC_SUBTRACT},
    {XK_KP_Multiply, OIS::KC_MULTIPLY}, {XK_KP_Divide, OIS::KC_DIVIDE},
    {XK_KP_Decimal, OIS::KC_DECIMAL}, {XK_minus, OIS::KC_MINUS}, {XK_equal, OIS::KC_EQUALS},
    {XK_comma, OIS::KC_COMMA},     {XK_period, OIS::KC_PERIOD}, {XK_slash, OIS::KC_SLASH},
    {XK_semicolon, OIS::KC_SEMICOLON}, {XK_apostrophe, OIS::KC_APOSTROPHE},
    {XK_bracketleft, OIS::KC_LBRACKET}, {XK_bracketright, OIS::KC_RBRACKET},
    {XK_backslash, OIS::KC_BACKSLASH}, {XK_grave, OIS::KC_GRAVE},
};

// The keys the keyboard holds now, as the input library's key codes.
std::bitset<256> heldKeys(Display* display) {
    char keymap[32];
    XQueryKeymap(display, keymap);
    std::bitset<256> held;
    for (const KeyName& name : keyNames) {
        const KeyCode code = XKeysymToKeycode(display, name.symbol);
        if (code != 0 && (keymap[code / 8] >> (code % 8)) & 1)
            held.set(name.key);
    }
    return held;
}

} // namespace

FocusWatcher::FocusWatcher(_XDisplay* display, unsigned long window, InputSystem& input)
    : display(display), window(window), input(input) {
    // Our own event mask on our own connection: the engine's and the input library's
    // selections on the window stay as they are, and so do the menus' on this connection.
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    XSelectInput(display, window, attributes.your_event_mask | FocusChangeMask | ExposureMask);
    XFlush(display);
    // A key held from before the window showed (Escape held at the launch) counts at once.
    input.keyboardFocusGained(heldKeys(display));
}

bool FocusWatcher::frameStarted(const Ogre::FrameEvent&) {
    XEvent event;
    while (XCheckWindowEvent(display, window, ExposureMask, &event))
        exposed = true;
    // Only the last change matters; focus moving between our window and its children is none.
    int last = 0;
    while (XCheckWindowEvent(display, window, FocusChangeMask, &event))
        if (event.xfocus.detail != NotifyInferior)
            last = event.type;
    if (last == FocusOut)
        input.keyboardFocusLost();
    else if (last == FocusIn)
        input.keyboardFocusGained(heldKeys(display));
    return true;
}

bool FocusWatcher::takeExposed() {
    const bool was = exposed;
    exposed = false;
    return was;
}
