#include <gtest/gtest.h>

#include "match/MatchState.h"
#include "match/Rounds.h"
#include "match/checksum.h"
#include "render/roundCaptions.h"
#include "support/versusRules.h"

namespace {

// The rules whose rounds start unannounced; the announcement has a test of its own.
MatchRules unannounced(int rounds = MatchRules::defaultRounds,
                       int roundSteps = MatchRules::defaultRoundSteps) {
    MatchRules rules = versusRules(rounds, roundSteps);
    rules.version = MatchRules::fairVersion;
    return rules;
}

// Runs the steps of a round's end being shown; returns what the last of them said.
Rounds::Next showEnd(RoundState& round, const MatchRules& rules) {
    Rounds::Next next = Rounds::Next::Continue;
    for (int i = 0; i < Rounds::endShownSteps; ++i) {
        EXPECT_EQ(next, Rounds::Next::Continue) << "after " << i << " steps of the end";
        next = Rounds::endOfStep(round, rules, 1000, 1000);
    }
    return next;
}

// One round ended with these healths, its end shown in full.
Rounds::Next playRound(RoundState& round, const MatchRules& rules, int health1, int health2) {
    Rounds::endOfStep(round, rules, health1, health2);
    EXPECT_EQ(round.phase, RoundState::RoundOver);
    return showEnd(round, rules);
}

} // namespace

// How a round ends, decided at the end of the step: KO at 0 and below, double KO, time out.
TEST(RoundsTest, ARoundEndsOnAKnockOutOrWhenTheClockRunsOut) {
    struct Case {
        int health1, health2, timer;
        RoundState::Ending ending;
        int winner;
    } const cases[] = {
        {0, 500, 100, RoundState::KnockOut, 1},
        {700, -40, 100, RoundState::KnockOut, 0},
        {0, -50, 100, RoundState::DoubleKnockOut, RoundState::draw},
        {-10, 20, 1, RoundState::KnockOut, 1},
        {600, 550, 1, RoundState::TimeOut, 0},
        {300, 950, 1, RoundState::TimeOut, 1},
        {400, 400, 1, RoundState::TimeOut, RoundState::draw},
        {1, 1, 2, RoundState::NoEnding, RoundState::draw},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.health1 << " / " << c.health2 << ", " << c.timer);
        RoundState round = Rounds::start(unannounced());
        round.timer = c.timer;
        Rounds::endOfStep(round, unannounced(), c.health1, c.health2);
        EXPECT_EQ(round.ending, c.ending);
        EXPECT_EQ(round.winner, c.winner);
        EXPECT_EQ(round.phase, c.ending == RoundState::NoEnding ? RoundState::Fighting
                                                                : RoundState::RoundOver);
        EXPECT_EQ(round.wins[0] + round.wins[1], c.winner == RoundState::draw ? 0 : 1);
    }
}

TEST(RoundsTest, TheClockCountsTheRoundsStepsAndShowsWholeSecondsRoundedUp) {
    const MatchRules rules = unannounced();
    RoundState round = Rounds::start(rules);
    EXPECT_EQ(clockSeconds(round), 99);
    for (int step = 1; step < rules.roundSteps; ++step)
        Rounds::endOfStep(round, rules, 1000, 1000);
    EXPECT_EQ(round.phase, RoundState::Fighting);
    EXPECT_EQ(clockSeconds(round), 1);
    Rounds::endOfStep(round, rules, 1000, 1000);
    EXPECT_EQ(round.ending, RoundState::TimeOut);
    EXPECT_EQ(clockSeconds(round), 0);
}

// The end is shown for two seconds, then the next round starts: the second of the first to
// two wins, the match after that.
TEST(RoundsTest, TheFirstToWinMoreThanHalfTakesTheMatch) {
    const MatchRules rules = unannounced(3, 600);
    RoundState round = Rounds::start(rules);
    EXPECT_EQ(playRound(round, rules, 0, 100), Rounds::Next::StartRound);
    EXPECT_EQ(round.round, 2);
    EXPECT_EQ(round.timer, 600);
    EXPECT_EQ(round.phase, RoundState::Fighting);
    EXPECT_EQ(playRound(round, rules, 100, 0), Rounds::Next::StartRound);
    EXPECT_EQ(playRound(round, rules, 0, 0), Rounds::Next::StartRound);
    EXPECT_EQ(playRound(round, rules, 0, 100), Rounds::Next::MatchEnds);
    EXPECT_EQ(round.phase, RoundState::MatchOver);
    EXPECT_EQ(round.winner, 1);
    EXPECT_EQ(resultLine(round), "Player 2 wins 2-1");
    EXPECT_EQ(round.matchesPlayed, 1);
}

TEST(RoundsTest, AMatchUndecidedAfterTwiceItsRoundsIsADraw) {
    const MatchRules rules = unannounced(1, 600);
    RoundState round = Rounds::start(rules);
    EXPECT_EQ(playRound(round, rules, 0, 0), Rounds::Next::StartRound);
    round.timer = 1;
    EXPECT_EQ(playRound(round, rules, 500, 500), Rounds::Next::MatchEnds);
    EXPECT_EQ(round.winner, RoundState::draw);
    EXPECT_EQ(resultLine(round), "Draw 0-0");
}

// Between rounds no key reaches the fighters; after the match a punch asks for a rematch, and
// the rematch starts once both asked, at the first round with no wins.
TEST(RoundsTest, KeysDoNothingBetweenRoundsAndBothPunchesStartARematch) {
    const MatchRules rules = unannounced(1, 600);
    RoundState round = Rounds::start(rules);
    StepInput keys;
    keys.players[0].direction = Direction::Right;
    keys.players[1].pressed[0] = true;
    EXPECT_EQ(Rounds::admit(round, keys).players[1].pressed[0], true);

    Rounds::endOfStep(round, rules, 0, 100);
    const StepInput between = Rounds::admit(round, keys);
    EXPECT_EQ(between.players[0].direction, Direction::Neutral);
    EXPECT_FALSE(between.players[1].pressed[0]);
    EXPECT_EQ(showEnd(round, rules), Rounds::Next::MatchEnds);

    Rounds::admit(round, keys);
    EXPECT_EQ(Rounds::endOfStep(round, rules, 0, 100), Rounds::Next::Continue);
    StepInput first;
    first.players[0].pressed[0] = true;
    EXPECT_FALSE(Rounds::admit(round, first).players[0].pressed[0]);
    EXPECT_EQ(Rounds::endOfStep(round, rules, 0, 100), Rounds::Next::StartRound);
    EXPECT_EQ(round.phase, RoundState::Fighting);
    EXPECT_EQ(round.wins[1], 0);
    EXPECT_EQ(round.round, 1);
    EXPECT_EQ(round.matchesPlayed, 1);
}

// Every field of the rounds and the rules is part of a versus match's checksum and is named when
// it differs; a plain match's checksum is what it always was, whatever these fields hold.
TEST(RoundsTest, TheRoundsAreInTheChecksumOfAVersusMatchOnly) {
    MatchState plain;
    MatchState versusState;
    versusState.rules = versusRules();
    versusState.round = Rounds::start(versusState.rules);
    const std::pair<const char*, void (*)(MatchState&)> changes[] = {
        {"match rules", [](MatchState& s) { s.rules.rounds = 5; }},
        {"match round", [](MatchState& s) { s.round.round = 2; }},
        {"match round", [](MatchState& s) { s.round.phase = RoundState::RoundOver; }},
        {"match timer", [](MatchState& s) { --s.round.timer; }},
        {"match timer", [](MatchState& s) { s.round.shownSteps = 3; }},
        {"match wins", [](MatchState& s) { s.round.wins[1] = 1; }},
        {"match matches", [](MatchState& s) { s.round.rematch[0] = true; }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        MatchState changed = versusState;
        change(changed);
        EXPECT_NE(checksum(changed), checksum(versusState));
        EXPECT_EQ(differences(versusState, changed), name);
        MatchState plainChanged = plain;
        change(plainChanged);
        plainChanged.rules.versus = false;
        EXPECT_EQ(checksum(plainChanged), checksum(plain));
    }
    EXPECT_EQ(differences(plain, versusState), "match rules");
}

// Under the latest rules each round is announced for a second and a half, its number then
// "FIGHT", while the clock and the players wait; the rules before start fighting at once.
TEST(RoundsTest, EachRoundIsAnnouncedWhileTheClockWaits) {
    MatchRules rules = versusRules(3, 600);
    RoundState round = Rounds::start(rules);
    StepInput punch;
    punch.players[0].pressed[0] = true;
    punch.players[1].direction = Direction::Right;
    std::vector<std::string> banners;
    for (int step = 1; step <= 90; ++step) {
        ASSERT_EQ(round.phase, RoundState::Announcing) << "step " << step;
        const StepInput admitted = Rounds::admit(round, punch);
        EXPECT_FALSE(admitted.players[0].pressed[0]);
        EXPECT_EQ(admitted.players[1].direction, Direction::Neutral);
        banners.push_back(roundCaptions(rules, round).banner);
        Rounds::endOfStep(round, rules, 1000, 1000);
        EXPECT_EQ(round.timer, 600);
    }
    EXPECT_EQ(banners[0], "ROUND 1");
    EXPECT_EQ(banners[59], "ROUND 1");
    EXPECT_EQ(banners[60], "FIGHT");
    EXPECT_EQ(banners[89], "FIGHT");
    EXPECT_EQ(round.phase, RoundState::Fighting);
    Rounds::endOfStep(round, rules, 1000, 1000);
    EXPECT_EQ(round.timer, 599);

    // The next round is announced too: at one win each, as the final round.
    round.wins[0] = 1;
    round.timer = 1;
    Rounds::endOfStep(round, rules, 500, 1000);
    EXPECT_EQ(showEnd(round, rules), Rounds::Next::StartRound);
    EXPECT_EQ(round.phase, RoundState::Announcing);
    EXPECT_EQ(roundCaptions(rules, round).banner, "FINAL ROUND");

    rules.version = MatchRules::fairVersion;
    EXPECT_EQ(Rounds::start(rules).phase, RoundState::Fighting);
}
