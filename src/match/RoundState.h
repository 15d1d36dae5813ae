#pragma once

// Where a versus match stands between its rounds, as a plain value: part of the match state.
// Rounds advances it at the end of every step; what the HUD shows is made from it.
struct RoundState {
    enum Phase : int {
        // The players fight and the clock runs.
        Fighting = 0,
        // The round's end is shown; the players' keys do nothing.
        RoundOver = 1,
        // The match's winner is shown until both players ask for a rematch.
        MatchOver = 2,
        // The round is announced before its clock starts; the players' keys do nothing.
        Announcing = 3,
    };
    enum Ending : int { NoEnding = 0, KnockOut = 1, DoubleKnockOut = 2, TimeOut = 3 };
    static constexpr int draw = -1;

    // Counted from 1.
    int round = 1;
    // Steps left on the round's clock.
    int timer = 0;
    int wins[2] = {0, 0};
    Phase phase = Fighting;
    // Steps the round's end, or its announcement, has been shown for.
    int shownSteps = 0;
    // How the last round ended, and who won it (0, 1 or draw); in MatchOver, who won the match.
    Ending ending = NoEnding;
    int winner = draw;
    // Matches decided since the program started this match: one more with every result.
    int matchesPlayed = 0;
    // In MatchOver: the players who pressed punch to ask for a rematch.
    bool rematch[2] = {false, false};
};
