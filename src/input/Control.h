#pragma once

// A player's six controls, in the order the bindings file lists them.
namespace Control {
enum eControl : int { Up, Down, Left, Right, Punch, Kick };
constexpr int count = 6;
// The names the bindings file gives them.
constexpr const char* names[count] = {"up", "down", "left", "right", "punch", "kick"};
} // namespace Control
