#pragma once

#include <optional>
#include <string>

#include <OISKeyboard.h>

// The keys a player may bind, by the names that bindings files and the game's words give them
// ("W", "Left", "Numpad1", "LeftShift"), matched without regard to case; and the program's own
// keys, Escape and F1 to F12, which no player may bind.
namespace KeyNames {

// The key's name, or nullptr for a key no player may bind.
const char* name(OIS::KeyCode key);
// The bindable key of that name; nothing for any other name.
std::optional<OIS::KeyCode> find(const std::string& name);

bool isProgramKey(const std::string& name);
bool isProgramKey(OIS::KeyCode key);
// The program key's name ("Escape", "F5"); nullptr for any other key.
const char* programKeyName(OIS::KeyCode key);

// Names compare without regard to case.
bool same(const std::string& a, const char* b);

} // namespace KeyNames
