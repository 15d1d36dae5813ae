#include <memory>

#include <benchmark/benchmark.h>

#include "support/BenchEngine.h"
#include "support/SteppedMatch.h"
#include "support/versusRules.h"

namespace {

// A match on the shared engine with the fighters' real sprites, HUD and box overlays,
// optionally with the debug displays on, as F2 and F3 switch them.
class Match : public SteppedMatch {
public:
    explicit Match(bool debugDisplays) : SteppedMatch(BenchEngine::app()) {
        if (!debugDisplays)
            return;
        game->showInputPanels();
        game->showHitboxes();
    }
};

// Health only goes down; a fighter near the end is put back to full so the readout keeps the
// width of a real fight's numbers over millions of steps.
void refillHealth(Player& player) {
    if (player.state.health <= 100)
        player.state.health = 1000;
}

// A landed hit, blocked or not, restarts the defender's stun count.
bool wasJustHit(const Player& player, int stunBefore) {
    return player.state.stunFrames > stunBefore;
}

const char* const debugLabel[] = {"debug displays off", "input panels and boxes shown"};

// The common step: nobody attacks. For a second at a time both stand, walk in, stand, walk
// apart, so each reader reports a change of direction now and then and the sprites move.
// Argument 1 shows the input panels and both fighters' boxes, as F2 and F3 do.
void BM_LogicStepIdleOrWalking(benchmark::State& state) {
    Match match(state.range(0) != 0);
    match.p1().state.position.x = -80;
    match.p2().state.position.x = 50;
    const OIS::KeyCode p1Keys[] = {OIS::KC_UNASSIGNED, OIS::KC_D, OIS::KC_UNASSIGNED, OIS::KC_A};
    const OIS::KeyCode p2Keys[] = {OIS::KC_UNASSIGNED, OIS::KC_LEFT, OIS::KC_UNASSIGNED,
                                   OIS::KC_RIGHT};
    int step = 0;
    for (auto _ : state) {
        if (step % 60 == 0) {
            const int phase = step / 60 % 4;
            match.keyboard.releaseAll();
            match.keyboard.press(p1Keys[phase]);
            match.keyboard.press(p2Keys[phase]);
        }
        match.step();
        ++step;
    }
    benchmark::DoNotOptimize(match.p1().state.position);
    state.SetLabel(debugLabel[state.range(0)]);
}
BENCHMARK(BM_LogicStepIdleOrWalking)->Arg(0)->Arg(1);

// The step of a versus match against the plain step, on the same keys: for a second both walk
// in (in versus, each pushing the other), for a second both walk back (in versus, to the
// walls), then both are put back. The round's clock is set to its longest, so the steps are
// those of a round in play; the debug displays are off.
void BM_LogicStepPlainOrVersus(benchmark::State& state) {
    Match match(false);
    if (state.range(0) != 0)
        match.match->start(versusRules(MatchRules::defaultRounds, MatchRules::maxRoundSteps));
    int step = 0;
    for (auto _ : state) {
        if (step % 60 == 0) {
            const bool in = step / 60 % 2 == 0;
            match.keyboard.releaseAll();
            match.keyboard.press(in ? OIS::KC_D : OIS::KC_A);
            match.keyboard.press(in ? OIS::KC_LEFT : OIS::KC_RIGHT);
            if (in) {
                match.p1().state.position.x = -80;
                match.p2().state.position.x = 50;
            }
        }
        match.step();
        ++step;
    }
    benchmark::DoNotOptimize(match.p1().state.position);
    state.SetLabel(state.range(0) != 0 ? "versus" : "plain");
}
BENCHMARK(BM_LogicStepPlainOrVersus)->Arg(0)->Arg(1);

// Both fighters enter the spinning kick (down, down-back, back with the kick) over and over, in
// step with each other: neither is attacking yet when the other holds down-back, so neither
// blocks. They start far enough apart to spin towards each other for most of the move before
// the kicks meet and both are hit; while both reel they are put back, so every round is the
// same and about half of all steps have both fighters in their attack.
void BM_LogicStepBothAttacking(benchmark::State& state) {
    Match match(state.range(0) != 0);
    match.p1().state.position.x = -60;
    match.p2().state.position.x = 60;
    match.step(); // let them face each other
    FakeKeyboard& keys = match.keyboard;
    int step = 0;
    int hits = 0;
    int bothAttacking = 0;
    for (auto _ : state) {
        const int stun1 = match.p1().state.stunFrames;
        const int stun2 = match.p2().state.stunFrames;
        keys.releaseAll();
        switch (step % 4) {
        case 0:
            keys.press(OIS::KC_S);
            keys.press(OIS::KC_DOWN);
            break;
        case 1:
            keys.press(OIS::KC_S);
            keys.press(OIS::KC_A);
            keys.press(OIS::KC_DOWN);
            keys.press(OIS::KC_RIGHT);
            break;
        case 2:
            keys.press(OIS::KC_A);
            keys.press(OIS::KC_K);
            keys.press(OIS::KC_RIGHT);
            keys.press(OIS::KC_NUMPAD2);
            break;
        }
        match.step();
        ++step;
        hits += wasJustHit(match.p1(), stun1) + wasJustHit(match.p2(), stun2);
        bothAttacking += match.p1().state.attacking && match.p2().state.attacking;
        if (match.p1().state.action == PlayerState::Hit &&
            match.p2().state.action == PlayerState::Hit) {
            match.p1().state.position.x = -60;
            match.p2().state.position.x = 60;
        }
        refillHealth(match.p1());
        refillHealth(match.p2());
    }
    state.counters["hits_per_1000_steps"] = 1000.0 * hits / step;
    state.counters["both_attacking_share"] = 1.0 * bothAttacking / step;
    state.SetLabel(debugLabel[state.range(0)]);
}
BENCHMARK(BM_LogicStepBothAttacking)->Arg(0)->Arg(1);

// The worst case of the debug displays: both input panels and both fighters' boxes shown, both
// fighters in their spinning kick on nearly every step, and each player's input different on
// every step, so each panel adds a row every step and the boxes change every ten. The
// fighters stay too far apart to hit each other: they are put back before their kicks meet.
// Without the input panels, the same steps show what the boxes and the rest cost alone.
void fullStepAttacking(benchmark::State& state, bool inputPanels) {
    Match match(false);
    match.game->showHitboxes();
    if (inputPanels)
        match.game->showInputPanels();
    match.p1().state.position.x = -300;
    match.p2().state.position.x = 300;
    match.step(); // let them face each other
    FakeKeyboard& keys = match.keyboard;
    // Down, down-back, back with the kick, for each fighter: the command comes round every
    // three steps, so a fighter whose kick has ended starts the next within three.
    const OIS::KeyCode p1Keys[3][2] = {
        {OIS::KC_S, OIS::KC_S}, {OIS::KC_S, OIS::KC_A}, {OIS::KC_A, OIS::KC_K}};
    const OIS::KeyCode p2Keys[3][2] = {{OIS::KC_DOWN, OIS::KC_DOWN},
                                       {OIS::KC_DOWN, OIS::KC_RIGHT},
                                       {OIS::KC_RIGHT, OIS::KC_NUMPAD2}};
    int step = 0;
    int bothAttacking = 0;
    for (auto _ : state) {
        keys.releaseAll();
        for (OIS::KeyCode key : p1Keys[step % 3])
            keys.press(key);
        for (OIS::KeyCode key : p2Keys[step % 3])
            keys.press(key);
        match.step();
        ++step;
        bothAttacking += match.p1().state.attacking && match.p2().state.attacking;
        if (match.p2().state.position.x - match.p1().state.position.x < 200) {
            match.p1().state.position.x = -300;
            match.p2().state.position.x = 300;
        }
    }
    state.counters["both_attacking_share"] = 1.0 * bothAttacking / step;
    state.counters["health_lost"] = 2000 - match.p1().state.health - match.p2().state.health;
}

void BM_FullStepAllDisplaysAttacking(benchmark::State& state) { fullStepAttacking(state, true); }
BENCHMARK(BM_FullStepAllDisplaysAttacking);

void BM_FullStepBoxesShownAttacking(benchmark::State& state) { fullStepAttacking(state, false); }
BENCHMARK(BM_FullStepBoxesShownAttacking);

} // namespace
