#pragma once

#include "sound/StepCues.h"

struct MatchState;

// What one step changed that is to be heard, read from the match before and after it: an
// attack started (a whoosh), a hit or a block landed, a fighter's health ran out, and in a
// versus match the announcer's calls at the start and the end of rounds and of the match. The
// sound reads the states as the displays do; the rules know nothing of it.
StepCues detectCues(const MatchState& before, const MatchState& after);

// The announcer waits this long after the round's call before "Fight": about as long as the
// longest call lasts (0.84 s).
constexpr int fightCallDelaySteps = 54;
