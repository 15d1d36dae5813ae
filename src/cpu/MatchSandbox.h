#pragma once

#include <functional>

#include "match/MatchState.h"

class Match;
struct RoundState;

// The match lent to a computer player's search for the length of a scope: its end-of-match
// report silenced, and on leaving, the match put back exactly as it stood, report as it was.
// Nothing is drawn meanwhile: the screen shows the match only before a picture. Lives on the
// stack of the search.
class MatchSandbox {
public:
    explicit MatchSandbox(Match& match);
    ~MatchSandbox();

    MatchSandbox(const MatchSandbox&) = delete;
    MatchSandbox& operator=(const MatchSandbox&) = delete;

    Match& match;

private:
    const MatchState real;
    std::function<void(const RoundState&)> onMatchEnd;
};
