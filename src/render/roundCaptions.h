#pragma once

#include <string>

#include "match/MatchRules.h"
#include "match/RoundState.h"
#include "render/RoundDisplay.h"

// What the HUD shows of a versus match's rounds: the clock in whole seconds, each player's round
// wins, the round's announcement, and between rounds and after the match what happened. All empty
// without versus.
RoundDisplay::Captions roundCaptions(const MatchRules& rules, const RoundState& round);

// The result of a decided match for a person, the winner's score first: "Player 2 wins 2-1",
// "Draw 1-1".
std::string resultLine(const RoundState& round);

// The round clock in whole seconds, rounded up: it shows 0 only once time is up.
inline int clockSeconds(const RoundState& round) {
    return (round.timer + 59) / 60;
}
