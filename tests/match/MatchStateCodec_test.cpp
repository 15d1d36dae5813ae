#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "match/MatchStateCodec.h"
#include "match/checksum.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A match well under way: every part of the state away from its start.
MatchState underWay() {
    MatchState state;
    state.fighters[0].state.position = {-42.5f, 17.25f};
    state.fighters[0].state.action = PlayerState::Tatsu;
    state.fighters[1].state.facingLeft = true;
    state.fighters[1].state.health = -30;
    state.fighters[1].state.combo = {4, 90, 0};
    state.fighters[0].state.combo = {2, 70, 31};
    state.fighters[0].state.pushbackSteps = 6;
    state.fighters[1].animationAction = PlayerState::Hit;
    state.fighters[1].animation.tracks[2] = {7, 2, 1, true};
    state.fighters[0].history[3] = InputFrame::fromInputBits(0x23);
    state.fighters[0].history[3].frameNumber = 812;
    state.fighters[0].frameCounter = 812;
    state.panels[1].visible = true;
    state.panels[1].rowCount = 2;
    state.panels[1].rows[1].count = 9;
    state.rules = MatchRules{true, 5, 600};
    state.round.round = 4;
    state.round.wins[0] = 2;
    state.round.phase = RoundState::RoundOver;
    state.round.winner = RoundState::draw;
    return state;
}

Bytes with(Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

} // namespace

TEST(MatchStateCodec, AStateComesBackAsItWas) {
    const Bytes bytes = MatchStateCodec::encode(underWay());
    const std::optional<MatchState> decoded = MatchStateCodec::decode(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(checksum(*decoded), checksum(underWay()));
    EXPECT_EQ(MatchStateCodec::encode(*decoded), bytes);
}

TEST(MatchStateCodec, OutOfRangeOrMisSizedBytesAreRefused) {
    const Bytes good = MatchStateCodec::encode(underWay());
    Bytes nan = good;
    const float notANumber = std::nanf("");
    std::memcpy(nan.data(), &notANumber, 4);
    const Bytes bad[] = {
        Bytes(good.begin(), good.end() - 1),
        [&] {
            Bytes b = good;
            b.push_back(0);
            return b;
        }(),
        with(good, 8, 7),                // no such action
        with(good, 9, 2),                // a flag neither true nor false
        with(good, 22, 7),               // a combo of more hits than a combo may have
        with(good, 34, 11),              // more push back than a blocked hit gives
        nan,                             // a position that is no number
        with(good, good.size() - 16, 4), // no such round phase
        with(good, good.size() - 10, 2), // a winner who is neither player nor a draw
    };
    for (const Bytes& bytes : bad)
        EXPECT_FALSE(MatchStateCodec::decode(bytes.data(), bytes.size()));
    MatchState newer = underWay();
    newer.rules.version = MatchRules::latestVersion + 1;
    const Bytes newerRules = MatchStateCodec::encode(newer);
    EXPECT_FALSE(MatchStateCodec::decode(newerRules.data(), newerRules.size()));
    MatchState even = underWay();
    even.rules.rounds = 4;
    const Bytes evenRounds = MatchStateCodec::encode(even);
    EXPECT_FALSE(MatchStateCodec::decode(evenRounds.data(), evenRounds.size()));
}

// A state of the first layout (a recording of a spectator from before the rules had a version)
// plays by the first versus rules.
TEST(MatchStateCodec, TheFirstLayoutHoldsAMatchOfTheFirstRules) {
    MatchState first = underWay();
    first.rules.version = MatchRules::firstVersion;
    first.fighters[0].state.combo = {};
    first.fighters[1].state.combo = {};
    first.fighters[0].state.pushbackSteps = 0;
    const Bytes bytes = MatchStateCodec::encode(first, MatchStateCodec::firstLayout);
    EXPECT_EQ(bytes.size() + 2 * 16 + 4, MatchStateCodec::encode(first).size());
    const std::optional<MatchState> decoded =
        MatchStateCodec::decode(bytes.data(), bytes.size(), MatchStateCodec::firstLayout);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->rules.version, MatchRules::firstVersion);
    EXPECT_EQ(checksum(*decoded), checksum(first));
    EXPECT_FALSE(MatchStateCodec::decode(bytes.data(), bytes.size()));
}

// A count the match adds to, a stun it counts down or a health it takes from, so near the end of
// an int that playing on would overflow it, is no match's: refused, while half a year of play
// is taken.
TEST(MatchStateCodec, CountsThatWouldOverflowAreRefused) {
    const auto decodes = [](void (*change)(MatchState&, int), int value) {
        MatchState state = underWay();
        change(state, value);
        const Bytes bytes = MatchStateCodec::encode(state);
        return MatchStateCodec::decode(bytes.data(), bytes.size()).has_value();
    };
    void (*const counts[])(MatchState&, int) = {
        [](MatchState& s, int v) { s.fighters[0].frameCounter = v; },
        [](MatchState& s, int v) { s.fighters[0].state.stunFrames = v; },
        [](MatchState& s, int v) { s.fighters[1].state.health = v; },
        [](MatchState& s, int v) { s.fighters[1].state.health = -v; },
        [](MatchState& s, int v) { s.panels[1].visibleFrameCount = v; },
        [](MatchState& s, int v) { s.round.shownSteps = v; },
        [](MatchState& s, int v) { s.round.matchesPlayed = v; },
    };
    for (const auto& change : counts) {
        EXPECT_TRUE(decodes(change, 1000000000));
        EXPECT_FALSE(decodes(change, 1000000001));
        EXPECT_FALSE(decodes(change, 2147483647));
    }
    // A stun counts down to 0 and no further.
    EXPECT_FALSE(decodes([](MatchState& s, int v) { s.fighters[1].state.stunFrames = v; }, -1));
}
