#pragma once

#include "input/StepInput.h"
#include "match/MatchRules.h"
#include "match/RoundState.h"

// The round rules of a versus match, on plain values: the Match calls them in every step of a
// versus match, the tests call them directly. A round ends at the end of a step in which a
// fighter's health is 0 or below (both: a draw), or in which the clock reaches 0 (the higher
// health wins, equal health is a draw). Its end is shown for two seconds; then the next round
// starts, or, once a player has won more than half of the rounds (or twice as many rounds as the
// match has were played), the match's result is shown until both players press punch. Under the
// rules where every blocked attack leaves an opening, each round is announced first: its number,
// then "FIGHT", while the clock and the players wait.
namespace Rounds {

// Two seconds.
constexpr int endShownSteps = 2 * 60;
// The announcement: the round's number for a second, then "FIGHT" for half a second.
constexpr int fightShownAt = 60;
constexpr int announceSteps = 90;

enum class Next {
    // Play on.
    Continue,
    // Both fighters go back to the start of a round: the next one, or the first of a rematch.
    StartRound,
    // The match was decided in this step.
    MatchEnds,
};

RoundState start(const MatchRules& rules);

// The players' frames as the phase lets them through: all of them while the round is fought,
// none between rounds or while it is announced. After the match each punch asks for a rematch; nothing moves a fighter.
StepInput admit(RoundState& round, const StepInput& input);

// Either player's next win takes the match, or no round may follow this one.
bool finalRound(const MatchRules& rules, const RoundState& round);

// Called once the step's rules ran, with both fighters' health.
Next endOfStep(RoundState& round, const MatchRules& rules, int health1, int health2);

} // namespace Rounds
