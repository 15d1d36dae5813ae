#include "cpu/MatchSandbox.h"

#include "match/Match.h"

MatchSandbox::MatchSandbox(Match& match)
    : match(match), real(match.save()), wasHeld(match.displaysHeld()),
      onMatchEnd(std::move(match.onMatchEnd)) {
    match.onMatchEnd = nullptr;
    if (!wasHeld)
        match.holdDisplays(true);
}

// Restored while still held, so the screen never sees the search.
MatchSandbox::~MatchSandbox() {
    match.restore(real);
    if (!wasHeld)
        match.holdDisplays(false);
    match.onMatchEnd = std::move(onMatchEnd);
}
