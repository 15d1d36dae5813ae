#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "match/MatchState.h"
#include "match/Rounds.h"
#include "sound/cueDetection.h"
#include "support/versusRules.h"

namespace {

using Change = std::function<void(MatchState& before, MatchState& after)>;

PlayerState& fighter(MatchState& state, int side) {
    return state.fighters[static_cast<std::size_t>(side)].state;
}

// A versus match in the middle of its first round, where nothing happens unless a case says so,
// under the rules whose rounds start unannounced (a case may say otherwise).
MatchState quietVersus() {
    MatchState state;
    state.rules = versusRules(3, 600);
    state.rules.version = MatchRules::fairVersion;
    state.round = Rounds::start(state.rules);
    state.round.timer = 300;
    return state;
}

std::vector<SoundCue> cuesOf(const Change& change) {
    MatchState before = quietVersus();
    MatchState after = before;
    --after.round.timer;
    change(before, after);
    const StepCues cues = detectCues(before, after);
    return {cues.begin(), cues.end()};
}

void attack(PlayerState& state, PlayerState::Action action) {
    state.action = action;
    state.attacking = true;
}

void landed(MatchState& before, MatchState& after, int side, int damage, int stun) {
    fighter(after, side).health = fighter(before, side).health - damage;
    fighter(after, side).stunFrames = stun;
}

// Where the rounds are announced: the announcement's step, and its round.
void announced(MatchState& before, MatchState& after, int step, int round) {
    before.rules.version = after.rules.version = MatchRules::latestVersion;
    before.round.phase = after.round.phase = RoundState::Announcing;
    before.round.shownSteps = step - 1;
    after.round.shownSteps = step;
    after.round.round = round;
    after.round.timer = before.round.timer;
}

void roundClock(MatchState& before, MatchState& after, int elapsed) {
    after.round.timer = after.rules.roundSteps - elapsed;
    before.round.timer = after.round.timer + 1;
}

} // namespace

void PrintTo(const SoundCue& cue, std::ostream* out) {
    *out << SoundCue::name(cue.sound) << "/" << cue.side;
}

TEST(CueDetectionTest, EachChangeOfAStepGivesItsCues) {
    using S = SoundCue;
    const int mid = SoundCue::middle;
    struct Case {
        const char* what;
        Change change;
        std::vector<SoundCue> expected;
    } const cases[] = {
        {"nothing changes", [](MatchState&, MatchState&) {}, {}},
        {"a punch starts", [](MatchState&, MatchState& a) { attack(fighter(a, 1), PlayerState::HP); },
         {{S::Whoosh, 1}}},
        {"the kick starts",
         [](MatchState&, MatchState& a) { attack(fighter(a, 0), PlayerState::Tatsu); },
         {{S::SpinWhoosh, 0}}},
        {"an attack goes on",
         [](MatchState& b, MatchState& a) {
             attack(fighter(b, 0), PlayerState::HP);
             attack(fighter(a, 0), PlayerState::HP);
         },
         {}},
        {"a punch hits", [](MatchState& b, MatchState& a) { landed(b, a, 1, 50, 51); }, {{S::Hit, 1}}},
        {"the kick hits",
         [](MatchState& b, MatchState& a) {
             attack(fighter(b, 0), PlayerState::Tatsu);
             landed(b, a, 1, 80, 41);
         },
         {{S::HeavyHit, 1}}},
        {"a hit on a fighter still in hit stun",
         [](MatchState& b, MatchState& a) {
             fighter(b, 0).stunFrames = 51;
             landed(b, a, 0, 50, 51);
         },
         {{S::Hit, 0}}},
        {"a block",
         [](MatchState&, MatchState& a) {
             fighter(a, 0).action = PlayerState::Block;
             fighter(a, 0).stunFrames = 21;
         },
         {{S::Block, 0}}},
        {"stun counts down",
         [](MatchState& b, MatchState& a) {
             fighter(b, 0).stunFrames = 30;
             fighter(a, 0).stunFrames = 29;
         },
         {}},
        {"the last of the health goes",
         [](MatchState& b, MatchState& a) {
             fighter(b, 1).health = 50;
             landed(b, a, 1, 50, 51);
             a.round.phase = RoundState::RoundOver;
             a.round.ending = RoundState::KnockOut;
         },
         {{S::Hit, 1}, {S::KnockOut, 1}, {S::CallKnockOut, mid}}},
        {"the clock runs out",
         [](MatchState& b, MatchState& a) {
             b.round.timer = 1;
             a.round.timer = 0;
             a.round.phase = RoundState::RoundOver;
             a.round.ending = RoundState::TimeOut;
         },
         {{S::CallTime, mid}}},
        {"round 2 starts",
         [](MatchState& b, MatchState& a) {
             a.round.round = 2;
             a.round.wins[0] = 1;
             roundClock(b, a, 1);
         },
         {{S::Sound(S::Round1 + 1), mid}}},
        {"the deciding round starts",
         [](MatchState& b, MatchState& a) {
             a.round.round = 3;
             a.round.wins[0] = a.round.wins[1] = 1;
             roundClock(b, a, 1);
         },
         {{S::FinalRound, mid}}},
        {"fight, once the round is called",
         [](MatchState& b, MatchState& a) { roundClock(b, a, 1 + fightCallDelaySteps); },
         {{S::Fight, mid}}},
        {"announced, round 2 is called as its number shows",
         [](MatchState& b, MatchState& a) {
             announced(b, a, 1, 2);
             a.round.wins[0] = 1;
         },
         {{S::Sound(S::Round1 + 1), mid}}},
        {"announced, fight is called as the word shows",
         [](MatchState& b, MatchState& a) { announced(b, a, Rounds::fightShownAt, 1); },
         {{S::Fight, mid}}},
        {"announced, the clock's first step calls nothing",
         [](MatchState& b, MatchState& a) {
             b.rules.version = a.rules.version = MatchRules::latestVersion;
             roundClock(b, a, 1);
         },
         {}},
        {"the match is won",
         [](MatchState& b, MatchState& a) {
             b.round.phase = RoundState::RoundOver;
             a.round.phase = RoundState::MatchOver;
             a.round.winner = 1;
         },
         {{S::Player2Wins, mid}}},
        {"the match is drawn",
         [](MatchState& b, MatchState& a) {
             b.round.phase = RoundState::RoundOver;
             a.round.phase = RoundState::MatchOver;
         },
         {{S::Draw, mid}}},
        {"a knockout outside versus has no announcer",
         [](MatchState& b, MatchState& a) {
             b.rules.versus = a.rules.versus = false;
             landed(b, a, 0, 1000, 51);
             roundClock(b, a, 1);
         },
         {{S::Hit, 0}, {S::KnockOut, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cuesOf(c.change), c.expected);
    }
}
