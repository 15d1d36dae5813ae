#pragma once

#include <string>

#include "fighter/ComboState.h"

// What the HUD shows of the combo a fighter takes, on the side of the player who deals it: its
// hits and damage ("3 HITS 150") while it runs and for the second the state remembers it after;
// empty for a single hit or none.
std::string comboCaption(const ComboState& combo);
