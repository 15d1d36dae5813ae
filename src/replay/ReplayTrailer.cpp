#include "replay/ReplayTrailer.h"

#include "match/MatchRules.h"
#include "replay/ReplayFormat.h"

namespace {

std::uint64_t word(const unsigned char* bytes, int size) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= std::uint64_t{bytes[i]} << (8 * i);
    return value;
}

// Whether the rounds can end a match so: it ends the moment a player has won the rounds
// needed, so its winner has exactly those and the loser fewer; a draw, once the rounds ran
// out, leaves neither player with them.
bool reachable(unsigned winner, const int wins[2], const MatchRules& rules) {
    const int needed = rules.winsNeeded();
    if (winner == 3)
        return wins[0] < needed && wins[1] < needed;
    return wins[winner - 1] == needed && wins[2 - winner] < needed;
}

// A winner only of a versus match, with a score its rules can give.
void readResult(const unsigned char* bytes, const MatchRules& rules, ReplayTrailer& trailer) {
    const unsigned winner = bytes[0];
    const int wins[2] = {bytes[1], bytes[2]};
    if (winner == 0 && wins[0] == 0 && wins[1] == 0)
        return;
    if (winner > 3 || winner == 0 || !rules.versus || !reachable(winner, wins, rules)) {
        trailer.damagedResult = true;
        return;
    }
    ReplayResult result;
    result.winner = winner == 3 ? ReplayResult::draw : static_cast<int>(winner) - 1;
    result.wins = {wins[0], wins[1]};
    trailer.result = result;
}

} // namespace

ReplayTrailer ReplayTrailer::parse(const unsigned char* bytes, unsigned format,
                                   const MatchRules& rules) {
    ReplayTrailer trailer;
    trailer.steps = word(bytes, 4);
    trailer.finalChecksum = word(bytes + 4, 8);
    const unsigned char* check = bytes + 12;
    if (format >= 5) {
        readResult(bytes + 12, rules, trailer);
        check += ReplayFormat::resultSize;
    }
    trailer.check = word(check, 8);
    return trailer;
}
