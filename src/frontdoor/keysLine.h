#pragma once

#include <string>

struct Bindings;

// Both players' keys in a line of small print for the menus: each control's first key,
// "Player 1: W A S D, J punch, K kick   Player 2: ...". Read by the screens' footers.
std::string keysLine(const Bindings& bindings);
