#include "match/Rounds.h"

namespace {

// The round ends here when it was decided in this step.
bool decideRound(RoundState& round, int health1, int health2) {
    const bool down1 = health1 <= 0;
    const bool down2 = health2 <= 0;
    if (down1 || down2) {
        round.ending = down1 && down2 ? RoundState::DoubleKnockOut : RoundState::KnockOut;
        round.winner = down1 && down2 ? RoundState::draw : down1 ? 1 : 0;
    } else if (round.timer == 0) {
        round.ending = RoundState::TimeOut;
        round.winner = health1 == health2 ? RoundState::draw : health1 > health2 ? 0 : 1;
    } else {
        return false;
    }
    if (round.winner != RoundState::draw)
        ++round.wins[round.winner];
    round.phase = RoundState::RoundOver;
    round.shownSteps = 0;
    return true;
}

void startRound(RoundState& round, const MatchRules& rules, int number) {
    round.round = number;
    round.timer = rules.roundSteps;
    round.phase = rules.playsOpenings() ? RoundState::Announcing : RoundState::Fighting;
    round.shownSteps = 0;
    round.ending = RoundState::NoEnding;
    round.winner = RoundState::draw;
}

} // namespace

namespace Rounds {

RoundState start(const MatchRules& rules) {
    RoundState round;
    startRound(round, rules, 1);
    return round;
}

StepInput admit(RoundState& round, const StepInput& input) {
    if (round.phase == RoundState::Fighting)
        return input;
    StepInput admitted;
    admitted.keys = input.keys;
    if (round.phase == RoundState::MatchOver)
        for (int player = 0; player < 2; ++player)
            round.rematch[player] = round.rematch[player] || input.players[player].pressed[0];
    return admitted;
}

bool finalRound(const MatchRules& rules, const RoundState& round) {
    const int last = rules.winsNeeded() - 1;
    return (round.wins[0] == last && round.wins[1] == last) || round.round >= 2 * rules.rounds;
}

Next endOfStep(RoundState& round, const MatchRules& rules, int health1, int health2) {
    switch (round.phase) {
    case RoundState::Fighting:
        if (round.timer > 0)
            --round.timer;
        decideRound(round, health1, health2);
        return Next::Continue;
    case RoundState::RoundOver: {
        if (++round.shownSteps < endShownSteps)
            return Next::Continue;
        const int needed = rules.winsNeeded();
        const int winner = round.wins[0] >= needed ? 0 : round.wins[1] >= needed ? 1 : RoundState::draw;
        if (winner == RoundState::draw && round.round < 2 * rules.rounds) {
            startRound(round, rules, round.round + 1);
            return Next::StartRound;
        }
        round.phase = RoundState::MatchOver;
        round.winner = winner;
        round.rematch[0] = round.rematch[1] = false;
        ++round.matchesPlayed;
        return Next::MatchEnds;
    }
    case RoundState::Announcing:
        if (++round.shownSteps < announceSteps)
            return Next::Continue;
        round.phase = RoundState::Fighting;
        round.shownSteps = 0;
        return Next::Continue;
    case RoundState::MatchOver:
        if (!round.rematch[0] || !round.rematch[1])
            return Next::Continue;
        const int played = round.matchesPlayed;
        round = start(rules);
        round.matchesPlayed = played;
        return Next::StartRound;
    }
    return Next::Continue;
}

} // namespace Rounds
