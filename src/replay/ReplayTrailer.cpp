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

// A winner only of a versus match, with no more rounds than the rules play.
void readResult(const unsigned char* bytes, const MatchRules& rules, ReplayTrailer& trailer) {
    const unsigned winner = bytes[0];
    const int wins[2] = {bytes[1], bytes[2]};
    if (winner == 0 && wins[0] == 0 && wins[1] == 0)
        return;
    if (winner > 3 || winner == 0 || !rules.versus || wins[0] > rules.rounds ||
        wins[1] > rules.rounds) {
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
