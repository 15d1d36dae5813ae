#include "cpu/Arena.h"

#include <algorithm>
#include <ctime>
#include <iomanip>
#include <ostream>

#include "anim/CharacterData.h"
#include "cpu/BlockerPlayer.h"
#include "cpu/CpuLevel.h"
#include "cpu/CpuPlayer.h"
#include "cpu/CpuRandom.h"
#include "cpu/Hunt.h"
#include "cpu/LoopPlayer.h"
#include "cpu/RotePlayer.h"
#include "cpu/referenceLoops.h"
#include "cpu/ScriptedPlayer.h"
#include "fighter/Player.h"
#include "match/Game.h"
#include "match/Match.h"

namespace {

// The CPU time of this thread, so a loaded machine does not count against an opponent.
double threadMicros() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

} // namespace

// One opponent's record over the run.
struct Arena::Side {
    std::string name;
    int wins = 0;
    int rounds = 0;
    long long healthLeft = 0;
    double micros = 0;
    double worstStepMicros = 0;
    long long steps = 0;
    long long decisions = 0;
    long long simulatedSteps = 0;
    int mostSimulatedInAStep = 0;
    long long shortHolds = 0;
    long long directionChanges = 0;
    int mostPressesPerSecond = 0;
    int longestSameGapRun = 0;

    void add(const CpuStats& stats) {
        steps += stats.steps;
        decisions += stats.decisions;
        simulatedSteps += stats.simulatedSteps;
        mostSimulatedInAStep = std::max(mostSimulatedInAStep, stats.mostSimulatedInAStep);
        shortHolds += stats.shortHolds;
        directionChanges += stats.directionChanges;
        mostPressesPerSecond = std::max(mostPressesPerSecond, stats.mostPressesPerSecond);
        longestSameGapRun = std::max(longestSameGapRun, stats.longestSameGapRun);
    }
};

bool Arena::validOpponent(const std::string& name) {
    return name == "script" || name == "loop" || name == "blocker" || name == "hunt" ||
           referenceLoop(name) ||
           (name.size() == 1 && CpuLevel::valid(name[0] - '0'));
}

Arena::Arena(Settings settings) : settings(std::move(settings)) {
    sides[0] = std::make_unique<Side>();
    sides[1] = std::make_unique<Side>();
    sides[0]->name =
        this->settings.a + (twoFighters() ? " " + this->settings.fighterOfA->name : "");
    sides[1]->name =
        this->settings.b + (twoFighters() ? " " + this->settings.fighterOfB->name : "");
    const bool bySide = recordedBySide();
    sides[0]->name += bySide ? " (left)" : "";
    sides[1]->name += bySide ? " (right)" : "";
}

Arena::~Arena() = default;

bool Arena::twoFighters() const {
    return settings.fighterOfA && settings.fighterOfB &&
           settings.fighterOfA->name != settings.fighterOfB->name;
}

bool Arena::recordedBySide() const {
    return settings.a == settings.b && !twoFighters();
}

std::unique_ptr<ComputerPlayer> Arena::makePlayer(const std::string& name, Match& match,
                                                  int side, std::uint64_t seed) {
    if (name == "script")
        return std::make_unique<ScriptedPlayer>(side);
    if (name == "loop")
        return std::make_unique<LoopPlayer>(side);
    if (name == "blocker")
        return std::make_unique<BlockerPlayer>(side);
    if (const std::optional<InputLoop> loop = referenceLoop(name))
        return std::make_unique<RotePlayer>(side, *loop);
    return std::make_unique<CpuPlayer>(match, side, CpuLevel::of(name[0] - '0'), seed);
}

// The hunt plays the loops it searches against the level named beside it.
void Arena::hunt(std::ostream& out) {
    const bool huntsA = settings.a == "hunt";
    const std::string& level = huntsA ? settings.b : settings.a;
    if (level.size() != 1 || !CpuLevel::valid(level[0] - '0')) {
        out << "arena: the hunt needs a level to hunt against, not " << level << std::endl;
        return;
    }
    Hunt::Settings hunt;
    hunt.level = level[0] - '0';
    hunt.hunter = huntsA ? settings.fighterOfA : settings.fighterOfB;
    hunt.hunted = huntsA ? settings.fighterOfB : settings.fighterOfA;
    hunt.walls = settings.walls;
    hunt.seed = settings.seed;
    hunt.checkMatches = settings.matches;
    hunt.checkRounds = settings.rounds;
    Hunt(hunt).run(out);
}

void Arena::run(std::ostream& out) {
    if (settings.a == "hunt" || settings.b == "hunt")
        return hunt(out);
    bool decided = false;
    MatchRules rules;
    rules.versus = true;
    rules.rounds = settings.rounds;
    int draws = 0;
    const bool recordedBySide = this->recordedBySide();
    CpuRandom seeds(settings.seed);

    for (int m = 0; m < settings.matches; ++m) {
        // A plays the left fighter in odd-numbered matches, the right one in the others.
        const int sideOfA = m % 2;
        Game game(sideOfA == 0 ? settings.fighterOfA : settings.fighterOfB,
                  sideOfA == 0 ? settings.fighterOfB : settings.fighterOfA);
        game.walls = settings.walls;
        Match match(game);
        match.onMatchEnd = [&decided](const RoundState&) { decided = true; };
        const std::uint64_t seedOfA = seeds.next();
        const std::uint64_t seedOfB = seeds.next();
        std::unique_ptr<ComputerPlayer> players[2];
        players[sideOfA] = makePlayer(settings.a, match, sideOfA, seedOfA);
        players[1 - sideOfA] = makePlayer(settings.b, match, 1 - sideOfA, seedOfB);
        Side* bySide[2] = {sides[recordedBySide ? 0 : sideOfA].get(),
                           sides[recordedBySide ? 1 : 1 - sideOfA].get()};
        const char* sideNames[2] = {recordedBySide ? "" : " (left)",
                                    recordedBySide ? "" : " (right)"};

        match.start(rules);
        decided = false;
        while (!decided) {
            const MatchState now = match.save();
            StepInput input;
            for (int side = 0; side < 2; ++side) {
                const double before = threadMicros();
                input.players[side] = players[side]->next(now);
                const double spent = threadMicros() - before;
                bySide[side]->micros += spent;
                bySide[side]->worstStepMicros = std::max(bySide[side]->worstStepMicros, spent);
            }
            match.step(input);
        }

        const RoundState& round = match.roundState();
        const int health[2] = {game.player1->state.health, game.player2->state.health};
        for (int side = 0; side < 2; ++side) {
            bySide[side]->rounds += round.wins[side];
            bySide[side]->healthLeft += std::max(0, health[side]);
            bySide[side]->add(players[side]->stats());
        }
        if (round.winner == RoundState::draw)
            ++draws;
        else
            ++bySide[round.winner]->wins;
        out << "match " << m + 1 << ": " << bySide[0]->name << sideNames[0] << " " << round.wins[0]
            << " - " << round.wins[1] << " " << bySide[1]->name << sideNames[1] << ", "
            << (round.winner == RoundState::draw ? std::string("draw")
                                                 : bySide[round.winner]->name + " wins")
            << ", health " << health[0] << " / " << health[1] << std::endl;
    }

    const int n = settings.matches;
    out << std::fixed << std::setprecision(1);
    out << "opponent     wins losses draws rounds  health  us/decision  us/step  worst-us "
           "sim/step  worst-sim  short-holds  presses/s  same-gap\n";
    for (int s = 0; s < 2; ++s) {
        const Side& side = *sides[s];
        const Side& other = *sides[1 - s];
        out << std::left << std::setw(11) << side.name << std::right << std::setw(6) << side.wins
            << std::setw(7) << other.wins << std::setw(6) << draws << std::setw(7) << side.rounds
            << std::setw(8) << static_cast<double>(side.healthLeft) / n << std::setw(13)
            << (side.decisions ? side.micros / static_cast<double>(side.decisions) : 0.0)
            << std::setw(9) << (side.steps ? side.micros / static_cast<double>(side.steps) : 0.0)
            << std::setw(10) << side.worstStepMicros << std::setw(10)
            << (side.steps ? static_cast<double>(side.simulatedSteps) / side.steps : 0.0)
            << std::setw(11) << side.mostSimulatedInAStep << std::setw(13) << side.shortHolds
            << std::setw(11) << side.mostPressesPerSecond << std::setw(10) << side.longestSameGapRun
            << "\n";
    }
    out << "arena: " << sides[0]->name << " won " << sides[0]->wins << ", " << sides[1]->name
        << " won " << sides[1]->wins << ", draws " << draws << " of " << n << " matches"
        << std::endl;
}
