#include "cpu/MatchSandbox.h"

#include "match/Match.h"

MatchSandbox::MatchSandbox(Match& match)
    : match(match), real(match.save()), onMatchEnd(std::move(match.onMatchEnd)) {
    match.onMatchEnd = nullptr;
}

MatchSandbox::~MatchSandbox() {
    match.restore(real);
    match.onMatchEnd = std::move(onMatchEnd);
}
