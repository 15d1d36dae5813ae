#pragma once

#include <array>

#include "fighter/FighterState.h"
#include "fighter/ProjectileState.h"
#include "fighter/ThrowState.h"
#include "input/InputPanelState.h"
#include "match/MatchRules.h"
#include "match/RoundState.h"

// The whole match as one plain value: everything a logic step reads or writes. Saving it and
// loading it back gives the same match, on screen too; the character data, the engine's
// objects and the keyboard are not part of it. fighters[0] is the left fighter.
struct MatchState {
    std::array<FighterState, 2> fighters;
    // What the two input panels hold; they are shown or hidden together by F1 and F2.
    std::array<InputPanelState, 2> panels;
    // The rules in force and, in a versus match, where it stands between its rounds.
    MatchRules rules;
    RoundState round;
    // Each fighter's projectile in flight and the throw under way, if any.
    std::array<ProjectileState, 2> projectiles{};
    ThrowState grab;
};
