#pragma once

#include <array>
#include <string>

// How the last versus match decided in a recording ended: who won it and the rounds each
// player took. A recording in which no match was decided (cut short, or an open fight) has
// none. The recorder keeps it from the match's state after every step, so however the game
// ends the file's closing record holds it.
struct ReplayResult {
    static constexpr int draw = -1;

    // 0 the first player, 1 the second, or draw.
    int winner = draw;
    std::array<int, 2> wins{};

    // As the game says it: "Player 1 wins 2-1" (the winner's score first), "Draw 1-1".
    std::string describe() const {
        const int first = winner == draw ? 0 : winner;
        const std::string score = std::to_string(wins[static_cast<std::size_t>(first)]) + "-" +
                                  std::to_string(wins[static_cast<std::size_t>(1 - first)]);
        if (winner == draw)
            return "Draw " + score;
        return "Player " + std::to_string(winner + 1) + " wins " + score;
    }

    bool operator==(const ReplayResult& other) const {
        return winner == other.winner && wins == other.wins;
    }
};
