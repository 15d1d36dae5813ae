#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "cpu/ComputerPlayer.h"
#include "cpu/CpuLevel.h"
#include "cpu/CpuPlan.h"
#include "cpu/CpuRandom.h"
#include "cpu/DelayedView.h"
#include "cpu/FeelMeter.h"
#include "cpu/OpponentModel.h"

class Match;

// The computer opponent of a level. It acts on the match as it was its reaction time ago:
// from there it plays its own inputs since and the other player's last seen direction forward
// to guess the present, then tries each of its options (plans entered through the controls)
// against a few guesses of the other player on the match's own rules, a fixed number of
// simulated steps each (from level 5 up, first of all the course its model of the other player
// foresees), and plays one that leaves it best off, its seed choosing among those
// about as good, now and then a worse one on purpose at the low levels; its presses come a few
// steps late, by its seed, as a person's timing varies. Its choices depend on what it has seen and
// its seed only. The search runs on the match it is given, inside a MatchSandbox, which puts the
// match back as it stood. Owned by the driver or the arena that steps the match.
class CpuPlayer : public ComputerPlayer {
public:
    // side 0 plays the left fighter, 1 the right one.
    CpuPlayer(Match& match, int side, const CpuLevel& level, std::uint64_t seed);

    InputFrame next(const MatchState& now) override;
    const CpuStats& stats() const override { return meter.stats; }

    // No two presses closer than this: at most 5 a second.
    static constexpr int pressGapSteps = 12;
    // Options whose values are within this of the best one's count as about as good: a point of
    // health, or about three steps of stun.
    static constexpr double nearlyBest = 1.0;
    // No more presses than this in a row at one interval.
    static constexpr int maxSameGaps = 5;
    // A look ahead that ends while its fighter is still in an attack, or kept from acting by a
    // blocked one, goes on until it can act, at most this many steps more: an attack is judged
    // with what the other can do to it before it recovers.
    static constexpr int recoverySteps = 60;
    // How many options there are to choose from, and guesses of the other player to weigh.
    static constexpr int optionCount = 9;
    static constexpr int guessCount = 4;

private:
    InputFrame choose(const MatchState& now);
    void learn(const MatchState& seen);
    InputFrame otherInput(int sinceSeen, const InputFrame& held) const;
    bool decisionDue(const MatchState& present) const;
    MatchState predictPresent();
    void decide(const MatchState& present);
    double value(const MatchState& present, const CpuPlan& option, int delay);
    double rollout(const MatchState& present, const CpuPlan& option, int delay, int guess);
    double score(const MatchState& start, const MatchState& end) const;
    bool committed() const;
    bool allowed(const CpuPlan& option) const;
    int pickNearlyBest(const std::array<double, optionCount>& values);
    int delayFor(const CpuPlan& chosen, int delay);
    static InputFrame delayedFrame(const CpuPlan& option, int step, int delay, bool facingLeft);
    InputFrame fightFrame();
    InputFrame betweenRounds(const MatchState& seen);
    InputFrame played(InputFrame frame, bool exempt);

    Match& match;
    const int side;
    const CpuLevel level;
    CpuRandom random;
    DelayedView view;
    FeelMeter meter;
    // From level 5 up: what it learnt of the other player, the other's frames learnt (the
    // count of its history), and the other's inputs from the seen step on as last foreseen.
    std::optional<OpponentModel> model;
    int learnt = 0;
    std::vector<OpponentModel::Symbol> foreseen;
    double sureness = 0;

    // Its own special move among them is its fighter's; the other's is the other fighter's.
    const std::array<CpuPlan, optionCount> options;
    const std::array<CpuPlan, guessCount> guesses;
    const CpuPlan* plan;
    int planStep = 0;
    // The plan is not changed before this step of it.
    int commitSteps = 0;
    // The plan starts this many steps late.
    int delaySteps = 0;
    bool facingLeft;
};
