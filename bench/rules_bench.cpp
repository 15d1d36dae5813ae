// Per-step costs of the game rules: input history, motion recognition, hit tests and animation
// stepping. Figures are read by people; nothing here asserts a time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "anim/FrameAnimation.h"
#include "collision/HitProps.h"
#include "collision/HitboxInfo.h"
#include "collision/hitTest.h"
#include "input/InputHistory.h"
#include "input/MoveInput.h"
#include "match/Game.h"
#include "match/Match.h"
#include "match/Rounds.h"
#include "match/Stage.h"
#include "support/InputFrames.h"
#include "support/RandomInputs.h"
#include "support/testFighters.h"
#include "support/versusRules.h"
#include "training/FrameMeter.h"

namespace {

constexpr int historyLength = 60;

// Fills a history with a repeating pattern of numpad digits, oldest first, ending on the
// newest frame, which gets a new press of the second button when asked.
InputHistory historyOf(const std::string& pattern, bool pressed) {
    InputHistory history(historyLength);
    for (int i = 0; i < historyLength; ++i) {
        InputFrame frame;
        // Align the pattern so that its last digit lands on the newest frame.
        const std::size_t at =
            (pattern.size() * historyLength + i - historyLength + 1) % pattern.size();
        frame.direction = static_cast<Direction::eDirection>(pattern[at] - '1');
        frame.pressed[1] = pressed && i == historyLength - 1;
        history.push(frame);
    }
    return history;
}

void BM_InputHistory_PushAndNewest(benchmark::State& state) {
    InputHistory history(historyLength);
    InputFrame frame;
    int direction = 0;
    for (auto _ : state) {
        frame.direction = static_cast<Direction::eDirection>(direction);
        direction = direction == 8 ? 0 : direction + 1;
        history.push(frame);
        benchmark::DoNotOptimize(history.newest());
    }
}
BENCHMARK(BM_InputHistory_PushAndNewest);

// The common case: the button was not pressed this step, so the command is rejected at once.
void BM_Matches_SpecialMove_NoPress(benchmark::State& state) {
    const InputHistory history = historyOf("2145", false);
    const MoveInput move = specialMove();
    for (auto _ : state)
        benchmark::DoNotOptimize(history.matches(&move, false));
}
BENCHMARK(BM_Matches_SpecialMove_NoPress);

// A press on a history holding the command just entered.
void BM_Matches_SpecialMove_Entered(benchmark::State& state) {
    const InputHistory history = historyOf("555555214", true);
    const MoveInput move = specialMove();
    for (auto _ : state)
        benchmark::DoNotOptimize(history.matches(&move, false));
}
BENCHMARK(BM_Matches_SpecialMove_Entered);

// A press on histories full of partial commands without a single Down: every occurrence of
// back and down-back within the windows is tried and each attempt fails at the last step.
// Alternating down-back and back is the costliest found (about 285 frame reads; no periodic
// pattern of up to eight frames over down, down-back, back and neutral reads more); the others
// show how the cost depends on the pattern.
void BM_Matches_SpecialMove_WorstCase(benchmark::State& state, const char* pattern) {
    const InputHistory history = historyOf(pattern, true);
    const MoveInput move = specialMove();
    bool matched = false;
    for (auto _ : state) {
        matched = history.matches(&move, false);
        benchmark::DoNotOptimize(matched);
    }
    if (matched)
        state.SkipWithError("the worst-case history must not match");
}
BENCHMARK_CAPTURE(BM_Matches_SpecialMove_WorstCase, Alternating14, "14");
BENCHMARK_CAPTURE(BM_Matches_SpecialMove_WorstCase, Alternating1144, "1144");
BENCHMARK_CAPTURE(BM_Matches_SpecialMove_WorstCase, Alternating145, "145");
BENCHMARK_CAPTURE(BM_Matches_SpecialMove_WorstCase, AllBack, "4");

// Where a press spends the motion it completed, every press in the history is looked at: a
// press on every other step, the most there can be, over the costliest pattern above and over
// one that holds down too (the pattern's digits, one a step, oldest first).
void BM_MatchesUnspent_PressEveryOtherStep(benchmark::State& state, const char* pattern) {
    InputHistory history(historyLength);
    const std::string digits = pattern;
    for (int i = 0; i < historyLength; ++i)
        history.push(frameOf(static_cast<Direction::eDirection>(digits[i % digits.size()] - '1'),
                             false, i % 2 == 1));
    const MoveInput move = specialMove();
    for (auto _ : state)
        benchmark::DoNotOptimize(history.matchesUnspent(&move, false));
}
BENCHMARK_CAPTURE(BM_MatchesUnspent_PressEveryOtherStep, Alternating14, "14");
BENCHMARK_CAPTURE(BM_MatchesUnspent_PressEveryOtherStep, Down141, "2141");

// The character's largest box sets hold one box per list.
struct Boxes {
    HitboxInfo standing;
    HitboxInfo spinFront;
    Boxes() {
        standing.addBox(AABB(-35, 35, 100, 0), false);
        spinFront.addBox(AABB(-25, 25, 100, 40), false);
        spinFront.addBox(AABB(30, 70, 75, 45), true);
    }
};

void BM_HitTest_LargestSets(benchmark::State& state) {
    const Boxes boxes;
    // A miss tests every pair; a hit ends at the first overlap.
    const float defenderX = state.range(0) ? 60.0f : 200.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            hitTest(boxes.spinFront, 0, 0, false, boxes.standing, defenderX, 0, true));
    }
}
BENCHMARK(BM_HitTest_LargestSets)->ArgName("hit")->Arg(0)->Arg(1);

// The longest animation: the 90-frame spinning kick, with null materials.
struct Tatsu {
    HitboxInfo standing, spinning, spinFront, spinBack;
    HitProps noHit, spinHitA, spinHitB;
    FrameAnimation animation;

    Tatsu() {
        standing.addBox(AABB(-35, 35, 100, 0), false);
        spinning.addBox(AABB(-25, 25, 100, 40), false);
        spinFront = spinning;
        spinFront.addBox(AABB(30, 70, 75, 45), true);
        spinBack = spinning;
        spinBack.addBox(AABB(-70, -30, 75, 45), true);
        spinHitA = {true, 20, 40, 40};
        spinHitB = {true, 20, 20, 10};

        animation.sprite.setLoop(false);
        for (int i = 0; i < 9; ++i)
            animation.sprite.addSegment(10, 0);
        HitboxInfo* const boxCycle[] = {&spinFront, &spinning, &spinBack, &spinning};
        for (int i = 0; i < 9; ++i)
            animation.hitboxes.addSegment(10, boxCycle[i % 4]);
        animation.hitboxes.addSegment(1, &standing);
        HitProps* const hits[] = {&spinHitA, &noHit,    &spinHitA, &noHit,   &spinHitA,
                                  &noHit,    &spinHitB, &noHit,    &spinHitB};
        for (HitProps* hit : hits)
            animation.hitProps.addSegment(10, hit);
        animation.movement.addSegment(1, Ogre::Vector2(0.3f, 0));
        animation.computeConstantFlags();
    }
};

// A fresh copy played to its end: 90 steps, counted as items, so the rate is per step (the
// one copy per play is included; its own cost is below).
void BM_FrameAnimation_StepTatsuPlayThrough(benchmark::State& state) {
    const Tatsu tatsu;
    for (auto _ : state) {
        FrameAnimation playing = tatsu.animation;
        while (!playing.isFinished()) {
            playing.step();
            benchmark::DoNotOptimize(playing.changed);
        }
        benchmark::DoNotOptimize(playing.currentHitboxes());
    }
    state.SetItemsProcessed(state.iterations() * 90);
}
BENCHMARK(BM_FrameAnimation_StepTatsuPlayThrough);

void BM_FrameAnimation_CopyTatsu(benchmark::State& state) {
    const Tatsu tatsu;
    for (auto _ : state) {
        FrameAnimation copy = tatsu.animation;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_FrameAnimation_CopyTatsu);

// One fighter's input and collision work in one step: push the new frame, read it, look for
// the special move, and test the hit. arg 0: no press (common); arg 1: a press on the
// costliest history.
void BM_OneFighterStep_InputAndCollision(benchmark::State& state) {
    const bool worst = state.range(0) != 0;
    InputHistory history = historyOf(worst ? "14" : "2145", false);
    const MoveInput move = specialMove();
    const Boxes boxes;
    InputFrame frame;
    frame.direction = worst ? Direction::Left : Direction::Neutral;
    frame.pressed[1] = worst;
    const Direction::eDirection other = worst ? Direction::DownLeft : Direction::Neutral;
    for (auto _ : state) {
        history.push(frame);
        frame.direction = frame.direction == other ? (worst ? Direction::Left : other) : other;
        benchmark::DoNotOptimize(history.newest());
        benchmark::DoNotOptimize(history.matches(&move, false));
        benchmark::DoNotOptimize(
            hitTest(boxes.spinFront, 0, 0, false, boxes.standing, 200, 0, true));
    }
}
BENCHMARK(BM_OneFighterStep_InputAndCollision)->ArgName("worst")->Arg(0)->Arg(1);

// What a versus match adds to a step on its own: the walls and the push between two
// overlapping bodies, one near a wall, and the rounds' end-of-step rules while a round is fought.
void BM_VersusRulesOfAStep(benchmark::State& state) {
    const MatchRules rules = versusRules(MatchRules::defaultRounds, MatchRules::maxRoundSteps);
    RoundState round = Rounds::start(rules);
    for (auto _ : state) {
        Stage::Body first{-Stage::halfWidth + 36, -35, 35}, second{-Stage::halfWidth + 100, -35, 35};
        Stage::keepApart(first, second, true, Stage::halfWidth);
        benchmark::DoNotOptimize(first);
        benchmark::DoNotOptimize(second);
        benchmark::DoNotOptimize(Rounds::endOfStep(round, rules, 1000, 1000));
        if (round.timer == 1)
            round.timer = rules.roundSteps;
    }
}
BENCHMARK(BM_VersusRulesOfAStep);

double threadMicros() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double timedStep(Match& match, const StepInput& input) {
    const double before = threadMicros();
    match.step(input);
    return threadMicros() - before;
}

// Whole steps of a headless versus match under random play, rounds and rematches included, each
// timed on its own in this thread's CPU time: the mean and the worst step, which a stall in any
// rule would show. The first step, and one that takes more than twice the mean so far, is run
// again from the same state up to 8 times and counts by its fastest run: a stall of the rules
// repeats, while what the machine adds (an interrupt, a page of memory, a cache emptied by
// another program) does not; raw_worst_us is the slowest first run. The inputs are made outside
// the timing.
void BM_VersusRandomPlayStep(benchmark::State& state) {
    const std::unique_ptr<Game> game = testGame();
    Match match(*game);
    MatchRules rules;
    rules.versus = true;
    match.start(rules);
    RandomInputs inputs(7);
    double total = 0;
    double worst = 0;
    double rawWorst = 0;
    long long steps = 0;
    for (auto _ : state) {
        const MatchState before = match.save();
        const StepInput input = inputs.next(before);
        double spent = timedStep(match, input);
        rawWorst = std::max(rawWorst, spent);
        const auto slow = [&] {
            return steps == 0 || spent * static_cast<double>(steps) > 2 * total;
        };
        for (int again = 0; again < 8 && slow(); ++again) {
            match.restore(before);
            spent = std::min(spent, timedStep(match, input));
        }
        total += spent;
        worst = std::max(worst, spent);
        ++steps;
    }
    state.counters["mean_us"] = total / static_cast<double>(steps);
    state.counters["worst_us"] = worst;
    state.counters["raw_worst_us"] = rawWorst;
}
BENCHMARK(BM_VersusRandomPlayStep)->Iterations(1000000)->Unit(benchmark::kMicrosecond);

// The frame meter's work per step, over a punch that lands: 16 steps of startup, 20 active,
// 20 of recovery against 50 of hit stun, then a step with both free that ends the exchange.
void BM_FrameMeterStep(benchmark::State& state) {
    std::vector<std::pair<FrameMeter::Sample, FrameMeter::Sample>> exchange;
    PlayerState free, attacking, stunned;
    attacking.attacking = true;
    stunned.action = PlayerState::Hit;
    stunned.stunFrames = 20;
    for (int step = 1; step <= 68; ++step) {
        FrameMeter::Sample attacker{step == 1 || step > 56 ? free : attacking, step >= 17 && step <= 36,
                                    step >= 56 ? free : attacking};
        FrameMeter::Sample defender{step > 17 && step < 68 ? stunned : free, false, free};
        exchange.emplace_back(attacker, defender);
    }
    FrameMeter meter;
    std::size_t at = 0;
    for (auto _ : state) {
        meter.step(exchange[at].first, exchange[at].second);
        at = at + 1 == exchange.size() ? 0 : at + 1;
        benchmark::DoNotOptimize(meter);
    }
}
BENCHMARK(BM_FrameMeterStep);

} // namespace
