#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include "cpu/CpuRandom.h"
#include "cpu/InputLoop.h"
#include "match/MatchRules.h"

class CharacterData;

// The hunt for fixed loops of inputs that beat the computer at a level: a random start and then
// generations of mutation and crossover over loops of 8 to 40 steps, motions of the hunter's
// special move included, each loop played by rote (RotePlayer) from either side and scored by
// the rounds it wins over matches of seeds shared by the whole generation; the best one is then
// re-checked over matches of fresh seeds. It prints each generation's best and ends with the
// line "hunt: best loop against level L: LOOP, won W of N matches on fresh seeds". Run by the
// arena (--arena LEVEL hunt); its choices depend on its seed alone.
class Hunt {
public:
    struct Settings {
        int level = 8;
        // The fighter the loop plays, and the computer's.
        std::shared_ptr<const CharacterData> hunter;
        std::shared_ptr<const CharacterData> hunted;
        float walls = 164;
        std::uint64_t seed = 1;
        int population = 16;
        int generations = 8;
        // One-round matches per loop in the search, and matches of the re-check.
        int scoringMatches = 8;
        int checkMatches = 100;
        int checkRounds = MatchRules::defaultRounds;
    };

    static constexpr int shortestLoop = 8;
    static constexpr int longestLoop = 40;

    explicit Hunt(Settings settings);

    struct Found {
        InputLoop loop;
        int wins = 0;
        int matches = 0;
    };
    Found run(std::ostream& out);

    // The matches of n seeds from `seed` the loop wins against the level: sides swap every other
    // match.
    int wins(const InputLoop& loop, int matches, int rounds, std::uint64_t seed) const;

private:
    // One match of the loop against the level: whether the loop won it, and the health it
    // had left over the computer's added to margin.
    bool play(const InputLoop& loop, int loopSide, int rounds, std::uint64_t seed,
              long long& margin) const;
    // The search's score: rounds won over the generation's seeds, then health.
    long long score(const InputLoop& loop, std::uint64_t seed) const;

    InputLoop randomLoop();
    InputLoop mutated(InputLoop loop);
    InputLoop crossed(const InputLoop& a, const InputLoop& b);
    void addBlock(std::vector<InputFrame>& steps);

    Settings settings;
    CpuRandom random;
};
