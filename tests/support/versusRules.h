#pragma once

#include "match/MatchRules.h"

// The versus rules as --versus --rounds sets them, with a round as long as a test needs.
inline MatchRules versusRules(int rounds = MatchRules::defaultRounds,
                              int roundSteps = MatchRules::defaultRoundSteps) {
    MatchRules rules;
    rules.versus = true;
    rules.rounds = rounds;
    rules.roundSteps = roundSteps;
    return rules;
}
