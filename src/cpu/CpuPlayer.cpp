#include "cpu/CpuPlayer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "anim/CharacterData.h"
#include "cpu/MatchSandbox.h"
#include "fighter/Player.h"
#include "match/Game.h"
#include "match/Match.h"

namespace {

using D = Direction::eDirection;
using Seg = CpuPlan::Segment;
constexpr D forward = Direction::Right;
constexpr D back = Direction::Left;

CpuPlan plan(std::initializer_list<Seg> segments) {
    CpuPlan made;
    for (const Seg& segment : segments)
        made.segments[static_cast<std::size_t>(made.count++)] = segment;
    return made;
}

// The special move as its fighter's motion enters it: a direction of each step held two steps,
// the last one step with the button, then the plan's end held.
CpuPlan specialMove(const CharacterData& character, D end) {
    CpuPlan made;
    const MoveInput& motion = *character.moves.front().first;
    const int steps = static_cast<int>(motion.components.size());
    for (int i = 0; i < steps; ++i) {
        const bool last = i == steps - 1;
        made.segments[static_cast<std::size_t>(made.count++)] = {
            *motion.components[static_cast<std::size_t>(i)].directions.begin(), last ? 1 : 2,
            last ? motion.button : -1, true};
    }
    made.segments[static_cast<std::size_t>(made.count++)] = {end, 1};
    return made;
}

// The options, a beginner's first: a level considers the first CpuLevel::options of them.
// After an attack the fighter holds back, ready to block.
std::array<CpuPlan, CpuPlayer::optionCount> optionsFor(const CharacterData& own) {
    return {
        plan({{Direction::Neutral, 1}}),                   // stand
        plan({{forward, 1}}),                              // walk in
        plan({{Direction::Neutral, 1, 0}, {back, 1}}),     // punch
        plan({{back, 1}}),                                 // back off, block
        specialMove(own, back),                            // special move
        plan({{forward, 8}, {forward, 1, 0}, {back, 1}}),  // step in, punch
        plan({{Direction::DownLeft, 1}}),                  // crouch and block
        plan({{forward, 16}, {forward, 1, 0}, {back, 1}}), // long step in, punch
        plan({{back, 12}, {forward, 1}}),                  // bait
    };
}
constexpr int optionCount = CpuPlayer::optionCount;

// The guesses of the other player, the likeliest first; the first one is "it keeps holding what
// it held", which has no plan of its own.
std::array<CpuPlan, CpuPlayer::guessCount> guessesFor(const CharacterData& other) {
    return {
        plan({{Direction::Neutral, 1}}),
        plan({{Direction::Neutral, 1, 0}, {Direction::Neutral, 1}}),    // punch now
        plan({{forward, 8}, {forward, 1, 0}, {Direction::Neutral, 1}}), // walk in, punch
        specialMove(other, Direction::Neutral),                         // special move
    };
}

bool blocking(D direction, bool facingLeft) {
    const D relative = mirrorDirection(direction, facingLeft);
    return relative == back || relative == Direction::DownLeft;
}

} // namespace

CpuPlayer::CpuPlayer(Match& match, int side, const CpuLevel& level, std::uint64_t seed)
    : match(match), side(side), level(level), random(seed), view(level.reactionSteps),
      model(level.modelOrder > 0 ? std::optional<OpponentModel>(level.modelOrder) : std::nullopt),
      options(optionsFor(*match.fighters().fighter(side).character)),
      guesses(guessesFor(*match.fighters().fighter(1 - side).character)), plan(&options[0]),
      facingLeft(side == 1) {}

InputFrame CpuPlayer::next(const MatchState& now) {
    const long long simulatedBefore = meter.stats.simulatedSteps;
    const InputFrame frame = choose(now);
    meter.stats.mostSimulatedInAStep =
        std::max(meter.stats.mostSimulatedInAStep,
                 static_cast<int>(meter.stats.simulatedSteps - simulatedBefore));
    return frame;
}

InputFrame CpuPlayer::choose(const MatchState& now) {
    view.observe(now);
    const MatchState& seen = view.seen();
    learn(seen);
    if (seen.rules.versus && seen.round.phase != RoundState::Fighting)
        return played(betweenRounds(seen), false);
    return fightFrame();
}

// A plan held back by a few steps starts by holding its first direction that much longer.
InputFrame CpuPlayer::delayedFrame(const CpuPlan& option, int step, int delay, bool facing) {
    InputFrame frame = option.frameAt(std::max(0, step - delay), facing);
    if (step < delay)
        frame.pressed[0] = frame.pressed[1] = false;
    return frame;
}

InputFrame CpuPlayer::fightFrame() {
    if (planStep >= commitSteps) {
        const MatchState present = predictPresent();
        if (decisionDue(present))
            decide(present);
    }
    const int i = std::max(0, planStep - delaySteps);
    const InputFrame frame = delayedFrame(*plan, planStep++, delaySteps, facingLeft);
    return played(frame, plan->segmentAt(i).motion);
}

// After a match, punch once to ask for the rematch; between rounds, nothing to do.
InputFrame CpuPlayer::betweenRounds(const MatchState& seen) {
    plan = &options[0];
    planStep = commitSteps = delaySteps = 0;
    InputFrame frame;
    if (seen.round.phase == RoundState::MatchOver && !seen.round.rematch[side] &&
        meter.sinceLastPress() >= pressGapSteps)
        frame.pressed[0] = true;
    return frame;
}

// Quick changes of direction are a machine's: one is only made for the motion or to block.
InputFrame CpuPlayer::played(InputFrame frame, bool motion) {
    const bool exempt = motion || blocking(frame.direction, facingLeft);
    if (frame.direction != meter.direction() && meter.heldSteps() < FeelMeter::minHoldSteps &&
        !exempt)
        frame.direction = meter.direction();
    meter.record(frame, exempt);
    view.played(frame);
    return frame;
}

// While its own attack or a long stun runs, nothing it chooses would change anything.
bool CpuPlayer::decisionDue(const MatchState& present) const {
    const PlayerState& me = present.fighters[static_cast<std::size_t>(side)].state;
    return !me.attacking && me.stunFrames <= level.decisionSteps;
}

// The other player's inputs it has not learnt yet, from the match as it sees it: the inputs up
// to the seen step, never one after.
void CpuPlayer::learn(const MatchState& seen) {
    if (!model)
        return;
    const FighterState& other = seen.fighters[static_cast<std::size_t>(1 - side)];
    // A round's start clears the history and its count.
    const int fresh = other.frameCounter >= learnt ? other.frameCounter - learnt : other.frameCounter;
    learnt = other.frameCounter;
    for (int i = std::min(fresh, FighterState::historyLength) - 1; i >= 0; --i) {
        InputFrame relative = other.history[static_cast<std::size_t>(i)];
        relative.direction = relative.relativeDirection(other.state.facingLeft);
        model->learn(OpponentModel::symbolOf(relative));
    }
}

// The other player's input on step i after the seen one: what the model foresees, turned the
// way its fighter faces now, or without a model its last seen direction held.
InputFrame CpuPlayer::otherInput(int i, const InputFrame& held) const {
    if (!model || i >= static_cast<int>(foreseen.size()))
        return held;
    InputFrame frame = OpponentModel::frameOf(foreseen[static_cast<std::size_t>(i)]);
    frame.direction = mirrorDirection(frame.direction, match.fighters().fighter(1 - side).state.facingLeft);
    return frame;
}

// The seen match played forward to now on its own inputs since, and the other player's as
// foreseen.
MatchState CpuPlayer::predictPresent() {
    MatchSandbox sandbox(match);
    const MatchState& seen = view.seen();
    const int other = 1 - side;
    InputFrame held;
    held.direction = seen.fighters[static_cast<std::size_t>(other)].history[0].direction;
    if (model)
        foreseen = model->foresee(view.ownSinceSeen() + level.horizonSteps + recoverySteps,
                                  sureness);
    match.restore(seen);
    for (int i = 0; i < view.ownSinceSeen(); ++i) {
        StepInput input;
        input.players[side] = view.ownInput(i);
        input.players[other] = otherInput(i, held);
        match.step(input);
    }
    meter.stats.simulatedSteps += view.ownSinceSeen();
    return match.save();
}

void CpuPlayer::decide(const MatchState& present) {
    ++meter.stats.decisions;
    facingLeft = present.fighters[static_cast<std::size_t>(side)].state.facingLeft;
    const int considered = std::min(level.options, optionCount);
    constexpr double none = -std::numeric_limits<double>::infinity();
    std::array<double, optionCount> values;
    values.fill(none);
    // The options are tried with their presses as late as they will come.
    const int delay = random.below(level.delaySteps + 1);
    {
        MatchSandbox sandbox(match);
        for (int o = 0; o < considered; ++o)
            if (allowed(options[static_cast<std::size_t>(o)]))
                values[static_cast<std::size_t>(o)] =
                    value(present, options[static_cast<std::size_t>(o)], delay);
    }
    int best = pickNearlyBest(values);
    if (random.percent(level.mistakePercent)) {
        const int pick = random.below(considered);
        if (allowed(options[static_cast<std::size_t>(pick)]))
            best = pick;
    }
    plan = best >= 0 ? &options[static_cast<std::size_t>(best)] : &options[0];
    planStep = 0;
    delaySteps = plan->firstPress() < 0 ? 0 : delayFor(*plan, delay);
    commitSteps = std::max(level.decisionSteps, delaySteps + plan->motionSteps());
}

// Among the options that score about the same as the best, the seed decides.
int CpuPlayer::pickNearlyBest(const std::array<double, optionCount>& values) {
    const double best = *std::max_element(values.begin(), values.end());
    if (best == -std::numeric_limits<double>::infinity())
        return -1;
    int count = 0;
    for (double v : values)
        count += v >= best - nearlyBest;
    int pick = random.below(count);
    for (int o = 0; o < optionCount; ++o)
        if (values[static_cast<std::size_t>(o)] >= best - nearlyBest && pick-- == 0)
            return o;
    return -1;
}

// A person's press comes a little late, by a few steps more or less each time: up to
// level.delaySteps later than planned (the delay drawn), and never keeping one rhythm for more
// than maxSameGaps presses in a row.
int CpuPlayer::delayFor(const CpuPlan& chosen, int delay) {
    const int gap = meter.sinceLastPress() + chosen.firstPress() + delay + 1;
    if (meter.sameGapRun() >= maxSameGaps && gap == meter.lastGap())
        ++delay;
    return delay;
}

bool CpuPlayer::allowed(const CpuPlan& option) const {
    const int press = option.firstPress();
    return press < 0 || meter.sinceLastPress() + press >= pressGapSteps;
}

// The average of the guesses, leaning towards the worst of them as the level is cautious; with
// a model, leaning towards the first guess, the course it foresees, as far as it is sure of it.
double CpuPlayer::value(const MatchState& present, const CpuPlan& option, int delay) {
    double sum = 0;
    double worst = std::numeric_limits<double>::infinity();
    double foreseenValue = 0;
    for (int g = 0; g < level.guesses; ++g) {
        const double v = rollout(present, option, delay, g);
        foreseenValue = g == 0 ? v : foreseenValue;
        sum += v;
        worst = std::min(worst, v);
    }
    const double mean = sum / level.guesses;
    const double guessed = mean + (worst - mean) * level.cautionPercent / 100.0;
    const double weight = model ? level.modelWeightPercent / 100.0 * sureness : 0.0;
    return guessed + (foreseenValue - guessed) * weight;
}

double CpuPlayer::rollout(const MatchState& present, const CpuPlan& option, int delay,
                          int guess) {
    const int other = 1 - side;
    const bool otherFacingLeft = present.fighters[static_cast<std::size_t>(other)].state.facingLeft;
    InputFrame held;
    held.direction = present.fighters[static_cast<std::size_t>(other)].history[0].direction;
    match.restore(present);
    int i = 0;
    for (; i < level.horizonSteps || (committed() && i < level.horizonSteps + recoverySteps);
         ++i) {
        StepInput input;
        input.players[side] = delayedFrame(option, i, delay, facingLeft);
        input.players[other] =
            guess == 0 ? otherInput(view.ownSinceSeen() + i, held)
                       : guesses[static_cast<std::size_t>(guess)].frameAt(i, otherFacingLeft);
        match.step(input);
    }
    meter.stats.simulatedSteps += i;
    return score(present, match.save());
}

// Its fighter is in an attack, or kept from acting by one that was blocked.
bool CpuPlayer::committed() const {
    const PlayerState& state = match.fighters().fighter(side).state;
    return state.attacking || (state.action == PlayerState::Idle && !state.canAct);
}

// Health first; then hits still stunning at the end; then a place near the middle, just
// outside the other's reach.
double CpuPlayer::score(const MatchState& start, const MatchState& end) const {
    const auto fighter = [](const MatchState& state, int which) -> const PlayerState& {
        return state.fighters[static_cast<std::size_t>(which)].state;
    };
    const int other = 1 - side;
    const double damage = (fighter(start, other).health - fighter(end, other).health) -
                          (fighter(start, side).health - fighter(end, side).health);
    const auto stunned = [&](int which) {
        const PlayerState& f = fighter(end, which);
        return f.action == PlayerState::Hit ? f.stunFrames : 0;
    };
    const double stun = 0.3 * (stunned(other) - stunned(side));
    const float x = fighter(end, side).position.x;
    const double distance = std::fabs(x - fighter(end, other).position.x);
    const double spacing = -0.05 * std::fabs(distance - 105.0);
    const double wall = end.rules.versus ? -0.2 * std::max(0.0, std::fabs(x) - 120.0) : 0.0;
    return damage + stun + spacing + wall;
}
