#include "render/roundCaptions.h"

#include "match/Rounds.h"

namespace {

std::string playerName(int player) {
    return "PLAYER " + std::to_string(player + 1);
}

} // namespace

RoundDisplay::Captions roundCaptions(const MatchRules& rules, const RoundState& round) {
    RoundDisplay::Captions captions;
    if (!rules.versus)
        return captions;
    captions.timer = std::to_string(clockSeconds(round));
    for (int player = 0; player < 2; ++player)
        captions.wins[player] = "WINS " + std::to_string(round.wins[player]);
    if (round.phase == RoundState::Announcing) {
        captions.banner = round.shownSteps >= Rounds::fightShownAt ? "FIGHT"
                          : Rounds::finalRound(rules, round)
                              ? "FINAL ROUND"
                              : "ROUND " + std::to_string(round.round);
    } else if (round.phase == RoundState::RoundOver) {
        captions.banner = round.ending == RoundState::TimeOut ? "TIME" : "K.O.";
        captions.detail = round.winner == RoundState::draw
                              ? "DRAW"
                              : playerName(round.winner) + " WINS THE ROUND";
    } else if (round.phase == RoundState::MatchOver) {
        captions.banner =
            round.winner == RoundState::draw ? "DRAW" : playerName(round.winner) + " WINS";
        captions.detail = "BOTH PUNCH FOR A REMATCH";
    }
    return captions;
}

// The winner's score first, as results are told; a draw keeps the first player's first.
std::string resultLine(const RoundState& round) {
    const int first = round.winner == RoundState::draw ? 0 : round.winner;
    const std::string score =
        std::to_string(round.wins[first]) + "-" + std::to_string(round.wins[1 - first]);
    if (round.winner == RoundState::draw)
        return "Draw " + score;
    return "Player " + std::to_string(round.winner + 1) + " wins " + score;
}
