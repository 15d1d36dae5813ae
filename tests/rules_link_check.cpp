// A match on the rules library alone: linked without the engine's library and run without a
// display, it shows that the rules need neither. The computer plays both fighters of the
// default roster for a versus match's first 600 steps; the checksum is printed.
#include <cstdio>
#include <iostream>

#include "cpu/CpuLevel.h"
#include "cpu/CpuPlayer.h"
#include "match/Game.h"
#include "match/Match.h"
#include "match/checksum.h"
#include "roster/Roster.h"

int main() {
    const Roster roster(VORRAK_MEDIA);
    Game game(roster.loadFighter(Roster::defaultFighter),
              roster.loadFighter(Roster::defaultFighter));
    Match match(game);
    MatchRules rules;
    rules.versus = true;
    match.start(rules);
    CpuPlayer left(match, 0, CpuLevel::of(8), 1);
    CpuPlayer right(match, 1, CpuLevel::of(3), 2);
    for (int step = 0; step < 600; ++step) {
        const MatchState now = match.save();
        StepInput input;
        input.players[0] = left.next(now);
        input.players[1] = right.next(now);
        match.step(input);
    }
    std::printf("rules alone: 600 steps, checksum %016llx\n",
                static_cast<unsigned long long>(checksum(match.save())));
    return 0;
}
