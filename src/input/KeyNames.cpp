#include "input/KeyNames.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

struct KeyName {
    const char* name;
    OIS::KeyCode key;
};

// The keys a player may bind, by the names the file uses (matched without regard to case).
const KeyName keyNames[] = {
    {"A", OIS::KC_A},
    {"B", OIS::KC_B},
    {"C", OIS::KC_C},
    {"D", OIS::KC_D},
    {"E", OIS::KC_E},
    {"F", OIS::KC_F},
    {"G", OIS::KC_G},
    {"H", OIS::KC_H},
    {"I", OIS::KC_I},
    {"J", OIS::KC_J},
    {"K", OIS::KC_K},
    {"L", OIS::KC_L},
    {"M", OIS::KC_M},
    {"N", OIS::KC_N},
    {"O", OIS::KC_O},
    {"P", OIS::KC_P},
    {"Q", OIS::KC_Q},
    {"R", OIS::KC_R},
    {"S", OIS::KC_S},
    {"T", OIS::KC_T},
    {"U", OIS::KC_U},
    {"V", OIS::KC_V},
    {"W", OIS::KC_W},
    {"X", OIS::KC_X},
    {"Y", OIS::KC_Y},
    {"Z", OIS::KC_Z},
    {"0", OIS::KC_0},
    {"1", OIS::KC_1},
    {"2", OIS::KC_2},
    {"3", OIS::KC_3},
    {"4", OIS::KC_4},
    {"5", OIS::KC_5},
    {"6", OIS::KC_6},
    {"7", OIS::KC_7},
    {"8", OIS::KC_8},
    {"9", OIS::KC_9},
    {"Up", OIS::KC_UP},
    {"Down", OIS::KC_DOWN},
    {"Left", OIS::KC_LEFT},
    {"Right", OIS::KC_RIGHT},
    {"Numpad0", OIS::KC_NUMPAD0},
    {"Numpad1", OIS::KC_NUMPAD1},
    {"Numpad2", OIS::KC_NUMPAD2},
    {"Numpad3", OIS::KC_NUMPAD3},
    {"Numpad4", OIS::KC_NUMPAD4},
    {"Numpad5", OIS::KC_NUMPAD5},
    {"Numpad6", OIS::KC_NUMPAD6},
    {"Numpad7", OIS::KC_NUMPAD7},
    {"Numpad8", OIS::KC_NUMPAD8},
    {"Numpad9", OIS::KC_NUMPAD9},
    {"NumpadPlus", OIS::KC_ADD},
    {"NumpadMinus", OIS::KC_SUBTRACT},
    {"NumpadMultiply", OIS::KC_MULTIPLY},
    {"NumpadDivide", OIS::KC_DIVIDE},
    {"NumpadPeriod", OIS::KC_DECIMAL},
    {"NumpadEnter", OIS::KC_NUMPADENTER},
    {"Space", OIS::KC_SPACE},
    {"Enter", OIS::KC_RETURN},
    {"Tab", OIS::KC_TAB},
    {"Backspace", OIS::KC_BACK},
    {"LeftShift", OIS::KC_LSHIFT},
    {"RightShift", OIS::KC_RSHIFT},
    {"LeftCtrl", OIS::KC_LCONTROL},
    {"RightCtrl", OIS::KC_RCONTROL},
    {"LeftAlt", OIS::KC_LMENU},
    {"RightAlt", OIS::KC_RMENU},
    {"Minus", OIS::KC_MINUS},
    {"Equals", OIS::KC_EQUALS},
    {"LeftBracket", OIS::KC_LBRACKET},
    {"RightBracket", OIS::KC_RBRACKET},
    {"Semicolon", OIS::KC_SEMICOLON},
    {"Apostrophe", OIS::KC_APOSTROPHE},
    {"Grave", OIS::KC_GRAVE},
    {"Backslash", OIS::KC_BACKSLASH},
    {"Comma", OIS::KC_COMMA},
    {"Period", OIS::KC_PERIOD},
    {"Slash", OIS::KC_SLASH},
    {"Insert", OIS::KC_INSERT},
    {"Delete", OIS::KC_DELETE},
    {"Home", OIS::KC_HOME},
    {"End", OIS::KC_END},
    {"PageUp", OIS::KC_PGUP},
    {"PageDown", OIS::KC_PGDOWN},
};

// The program's own keys keep their meaning in every mode.
const KeyName programKeys[] = {
    {"Escape", OIS::KC_ESCAPE}, {"F1", OIS::KC_F1},   {"F2", OIS::KC_F2},   {"F3", OIS::KC_F3},
    {"F4", OIS::KC_F4},         {"F5", OIS::KC_F5},   {"F6", OIS::KC_F6},   {"F7", OIS::KC_F7},
    {"F8", OIS::KC_F8},         {"F9", OIS::KC_F9},   {"F10", OIS::KC_F10}, {"F11", OIS::KC_F11},
    {"F12", OIS::KC_F12},
};

} // namespace

namespace KeyNames {

const char* name(OIS::KeyCode key) {
    for (const KeyName& entry : keyNames)
        if (entry.key == key)
            return entry.name;
    return nullptr;
}

std::optional<OIS::KeyCode> find(const std::string& name) {
    for (const KeyName& entry : keyNames)
        if (same(name, entry.name))
            return entry.key;
    return std::nullopt;
}

bool isProgramKey(const std::string& name) {
    return std::any_of(std::begin(programKeys), std::end(programKeys),
                       [&name](const KeyName& entry) { return same(name, entry.name); });
}

bool isProgramKey(OIS::KeyCode key) { return programKeyName(key) != nullptr; }

const char* programKeyName(OIS::KeyCode key) {
    for (const KeyName& entry : programKeys)
        if (entry.key == key)
            return entry.name;
    return nullptr;
}

bool same(const std::string& a, const char* b) {
    return a.size() == std::strlen(b) && std::equal(a.begin(), a.end(), b, [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace KeyNames
