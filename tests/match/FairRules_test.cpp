// The versus rules of fair fights on a headless match: combos end, blocking costs, nothing lands
// after a round's end, and neither side is favoured. Each rule is shown against the first
// versus rules, under which the same play goes the other way.
#include <gtest/gtest.h>

#include <memory>

#include "cpu/BlockerPlayer.h"
#include "cpu/LoopPlayer.h"
#include "cpu/RotePlayer.h"
#include "fighter/Player.h"
#include "match/FairRules.h"
#include "match/Game.h"
#include "match/Match.h"
#include "match/Stage.h"
#include "support/InputFrames.h"
#include "support/RandomInputs.h"
#include "support/testFighters.h"
#include "support/versusRules.h"

namespace {

MatchRules rulesOf(int version, int roundSteps = MatchRules::defaultRoundSteps) {
    MatchRules rules = versusRules(1, roundSteps);
    rules.version = version;
    return rules;
}

// A one-round versus match, the fighters placed where a test wants them.
class Fight {
public:
    explicit Fight(const MatchRules& rules) : game(testGame()), match(*game) { match.start(rules); }

    void place(float x1, float x2) {
        p1().state.position.x = x1;
        p2().state.position.x = x2;
    }
    void step(const InputFrame& first, const InputFrame& second) {
        StepInput input;
        input.players[0] = first;
        input.players[1] = second;
        match.step(input);
    }
    Player& p1() { return *game->player1; }
    Player& p2() { return *game->player2; }

    std::unique_ptr<Game> game;
    Match match;
};

// The longest run of steps the second fighter spends in hit stun, and the most hits its combo
// counted, over a spinning-kick loop played on a fighter that never blocks.
struct Held {
    int longestStun = 0;
    int mostHits = 0;
    int mostDamage = 0;
    bool freeAfterTheLimit = true;
};

Held kickLoopOnAStandingFighter(int version) {
    Fight fight(rulesOf(version));
    fight.place(-40, 40);
    LoopPlayer loop(0);
    Held held;
    int stunned = 0;
    bool limitReached = false;
    for (int i = 0; i < 1500; ++i) {
        fight.step(loop.next(fight.match.save()), InputFrame());
        const PlayerState& taker = fight.p2().state;
        if (limitReached)
            held.freeAfterTheLimit &= taker.canAct;
        stunned = taker.action == PlayerState::Hit ? stunned + 1 : 0;
        held.longestStun = std::max(held.longestStun, stunned);
        held.mostHits = std::max(held.mostHits, taker.combo.hits);
        held.mostDamage = std::max(held.mostDamage, taker.combo.damage);
        limitReached = taker.combo.hits == 6 && taker.combo.stepsSinceEnd == 0;
    }
    return held;
}

} // namespace

// The spinning kick leaves its fighter ahead enough to kick again before the other can act:
// under the first rules a loop of it holds a fighter for good; now its combo ends with the 6th
// hit, which leaves the fighter free on the next step.
TEST(FairRulesTest, ASpinningKickLoopIsStoppedByTheComboLimit) {
    const Held first = kickLoopOnAStandingFighter(MatchRules::firstVersion);
    EXPECT_GT(first.longestStun, 1000);
    EXPECT_EQ(first.mostHits, 0);

    const Held fair = kickLoopOnAStandingFighter(MatchRules::fairVersion);
    EXPECT_EQ(fair.mostHits, 6);
    EXPECT_LE(fair.mostDamage, 250);
    EXPECT_TRUE(fair.freeAfterTheLimit);
    EXPECT_LT(fair.longestStun, 250);
}

// Whatever the hits, a combo takes at most a quarter of full health: the hit that reaches it
// takes only what is left, and ends the combo.
TEST(FairRulesTest, ACombosDamageStopsAtAQuarterOfFullHealth) {
    HitProps heavy;
    heavy.active = true;
    heavy.damage = 100;
    heavy.hitStun = 30;
    ComboState combo;
    const HitProps hits[] = {FairRules::comboHit(combo, false, heavy),
                             FairRules::comboHit(combo, true, heavy),
                             FairRules::comboHit(combo, true, heavy)};
    EXPECT_EQ(hits[1].hitStun, 30);
    EXPECT_EQ(hits[2].damage, 50);
    EXPECT_EQ(hits[2].hitStun, 0);
    EXPECT_EQ(combo.damage, 250);
    // A hit on a fighter free again starts another.
    EXPECT_EQ(FairRules::comboHit(combo, false, heavy).damage, 100);
    EXPECT_EQ(combo.hits, 1);
}

// A blocked special move takes a fifth of its damage, at least 1; a blocked punch nothing.
TEST(FairRulesTest, ABlockedSpecialMoveTakesAFifthOfItsDamage) {
    HitProps kick;
    kick.active = true;
    kick.damage = 20;
    EXPECT_EQ(FairRules::chip(kick, true), 4);
    EXPECT_EQ(FairRules::chip(kick, false), 0);
    kick.damage = 3;
    EXPECT_EQ(FairRules::chip(kick, true), 1);
}

// Holding back for ever drew against any attack; now a blocked spinning kick takes a little
// health, so the attacker wins on time.
TEST(FairRulesTest, ABlockerLosesOnTimeToChipDamage) {
    for (const int version : {MatchRules::firstVersion, MatchRules::fairVersion}) {
        Fight fight(rulesOf(version, 900));
        fight.place(-40, 40);
        LoopPlayer loop(0);
        BlockerPlayer blocker(1);
        while (fight.match.roundState().phase == RoundState::Fighting) {
            const MatchState now = fight.match.save();
            fight.step(loop.next(now), blocker.next(now));
        }
        const RoundState& round = fight.match.roundState();
        EXPECT_EQ(round.ending, RoundState::TimeOut) << "version " << version;
        EXPECT_EQ(fight.p1().state.health, PlayerState::fullHealth) << "version " << version;
        if (version == MatchRules::firstVersion) {
            EXPECT_EQ(round.winner, RoundState::draw);
            EXPECT_EQ(fight.p2().state.health, PlayerState::fullHealth);
        } else {
            EXPECT_EQ(round.winner, 0);
            EXPECT_LT(fight.p2().state.health, PlayerState::fullHealth);
        }
    }
}

// A blocked punch, no special move, takes nothing; every blocked hit pushes the blocker back,
// and at a wall the attacker instead. The blocker crouches, so it does not walk.
TEST(FairRulesTest, BlockedHitsPushBackAndOnlySpecialMovesTakeHealth) {
    const float pushback = FairRules::pushbackSteps * FairRules::pushbackPerStep;
    const struct {
        float x1, x2;
        float moved1, moved2;
    } cases[] = {{-40, 40, 0, pushback},
                 {Stage::halfWidth - 115, Stage::halfWidth - 35, -pushback, 0}};
    for (const auto& c : cases) {
        Fight fight(rulesOf(MatchRules::fairVersion));
        fight.place(c.x1, c.x2);
        const InputFrame crouchBack = frameOf(Direction::DownRight);
        fight.step(frameOf(Direction::Neutral, true), crouchBack);
        int blocked = 0;
        for (int i = 0; i < 60; ++i) {
            fight.step(InputFrame(), crouchBack);
            blocked += fight.p2().state.action == PlayerState::Block;
        }
        EXPECT_GT(blocked, 20);
        EXPECT_EQ(fight.p2().state.health, PlayerState::fullHealth);
        EXPECT_FLOAT_EQ(fight.p1().state.position.x, c.x1 + c.moved1);
        EXPECT_FLOAT_EQ(fight.p2().state.position.x, c.x2 + c.moved2);
    }
}

// A punch pressed 14 steps before time runs out becomes active after it: under the first rules
// it still landed during the round's end (so the screen read DRAW over 950 against 1000); now
// nothing lands and no health changes until the next round.
TEST(FairRulesTest, AHitAfterTheTimersEndDoesNotLand) {
    for (const int version : {MatchRules::firstVersion, MatchRules::fairVersion}) {
        Fight fight(rulesOf(version, 30));
        fight.place(-40, 40);
        for (int i = 1; i <= 30; ++i)
            fight.step(frameOf(Direction::Neutral, i == 16), InputFrame());
        ASSERT_EQ(fight.match.roundState().phase, RoundState::RoundOver);
        EXPECT_EQ(fight.match.roundState().winner, RoundState::draw);
        int lowest = PlayerState::fullHealth;
        while (fight.match.roundState().phase == RoundState::RoundOver) {
            fight.step(InputFrame(), InputFrame());
            lowest = std::min(lowest, fight.p2().state.health);
        }
        EXPECT_EQ(lowest, version == MatchRules::firstVersion ? 950 : PlayerState::fullHealth)
            << "version " << version;
    }
}

// Each round starts mirror-placed about the stage's centre, and the rules favour no side: when
// the second player plays the mirror image of the first's inputs, the match stays the mirror
// image of itself, round after round.
TEST(FairRulesTest, MirroredPlayFromTheMirroredStartStaysMirrored) {
    Fight fight(rulesOf(MatchRules::fairVersion, 900));
    EXPECT_EQ(fight.p1().state.position.x, Stage::startX(0));
    EXPECT_EQ(fight.p2().state.position.x, -Stage::startX(0));
    RandomInputs inputs(3);
    int rounds = 0;
    for (int i = 0; i < 20000; ++i) {
        InputFrame first = inputs.next(fight.match.save()).players[0];
        InputFrame second = first;
        second.direction = mirrorDirection(first.direction, true);
        fight.step(first, second);
        const PlayerState& a = fight.p1().state;
        const PlayerState& b = fight.p2().state;
        ASSERT_EQ(a.position.x, -b.position.x) << "step " << i;
        ASSERT_EQ(a.health, b.health) << "step " << i;
        ASSERT_EQ(a.action, b.action) << "step " << i;
        ASSERT_NE(a.facingLeft, b.facingLeft) << "step " << i;
        rounds += fight.match.roundState().phase == RoundState::RoundOver &&
                  fight.match.roundState().shownSteps == 0;
    }
    EXPECT_GT(rounds, 5);
}

// The loop that spun nearly all the time: its second press, 3 steps after one made while the
// fighter could not act, restarted the kick from the kept motion. Now that press finds the
// motion spent, and a kick starts only on a press that completes a motion of its own.
TEST(FairRulesTest, APressAfterASpentMotionDoesNotSpinAgain) {
    const InputLoop loop = *InputLoop::parse("2 2 1 1 4* 5 5 5* 5");
    const int versions[2] = {MatchRules::fairVersion, MatchRules::openingsVersion};
    for (const int version : versions) {
        Fight fight(rulesOf(version, 3000));
        RotePlayer rote(0, loop);
        BlockerPlayer blocker(1);
        int kicks = 0;
        int onTheSecondPress = 0;
        for (int i = 0; i < 2400; ++i) {
            const MatchState now = fight.match.save();
            const InputFrame pressed = rote.next(now);
            const bool wasSpinning = fight.p1().state.action == PlayerState::Tatsu;
            fight.step(pressed, blocker.next(now));
            if (wasSpinning || fight.p1().state.action != PlayerState::Tatsu)
                continue;
            ++kicks;
            onTheSecondPress += pressed.direction == Direction::Neutral;
        }
        EXPECT_GT(kicks, 10) << "version " << version;
        if (version == MatchRules::fairVersion)
            EXPECT_GT(onTheSecondPress, kicks / 3);
        else
            EXPECT_EQ(onTheSecondPress, 0);
    }
}
