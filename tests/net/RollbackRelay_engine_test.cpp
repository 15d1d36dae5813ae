#include <deque>
#include <iostream>
#include <map>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "match/Match.h"
#include "net/MessageCodec.h"
#include "net/NetInput.h"
#include "net/RollbackSession.h"
#include "support/EngineEnvironment.h"
#include "support/SteppedMatch.h"

namespace {

constexpr int matchSteps = 36000;
constexpr double stepMs = 1000.0 / 60.0;
constexpr std::uint32_t sessionId = 0x5eed;

// A bad network on a simulated clock between two sides: every 2 s the one-way delay takes a
// new base of 0 to 120 ms with up to 30 ms of jitter on top, so packets overtake each other;
// up to 10% of the unreliable ones are lost and 5% arrive twice. Reliable ones are delayed as
// much but never lost and always in order, as ENet delivers them.
class Relay {
public:
    explicit Relay(unsigned seed) : random(seed) {}

    void send(int to, double nowMs, const net::Message& message, bool reliable) {
        const std::vector<std::uint8_t> bytes = MessageCodec::encode(message);
        bytesSent[1 - to] += bytes.size();
        double at = nowMs + delayMs(nowMs);
        if (reliable) {
            at = std::max(at, lastReliable[to]);
            lastReliable[to] = at;
        } else if (chance(dropRate(nowMs))) {
            return;
        } else if (chance(0.05)) {
            queue[to].emplace(nowMs + delayMs(nowMs), bytes);
        }
        queue[to].emplace(at, bytes);
    }

    // Packets for side `to` that have arrived by now, in order of arrival.
    std::vector<std::vector<std::uint8_t>> receive(int to, double nowMs) {
        std::vector<std::vector<std::uint8_t>> arrived;
        auto& pending = queue[to];
        while (!pending.empty() && pending.begin()->first <= nowMs) {
            arrived.push_back(std::move(pending.begin()->second));
            pending.erase(pending.begin());
        }
        return arrived;
    }

    std::size_t bytesSent[2] = {0, 0};

private:
    int phase(double nowMs) const { return static_cast<int>(nowMs / 2000); }
    double delayMs(double nowMs) {
        const double base = (phase(nowMs) * 37) % 121;
        return base + std::uniform_real_distribution<double>(0, 30)(random);
    }
    double dropRate(double nowMs) const { return (phase(nowMs) % 11) / 100.0; }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random) < p; }

    std::mt19937 random;
    std::multimap<double, std::vector<std::uint8_t>> queue[2];
    double lastReliable[2] = {0, 0};
};

// A player's hands: sticks held for a while, presses, the spinning kick's motion now and then,
// and the debug-display keys rarely.
class RandomPlayer {
public:
    explicit RandomPlayer(unsigned seed) : random(seed) {}

    std::uint16_t next() {
        if (!motion.empty()) {
            const std::uint16_t input = motion.front();
            motion.pop_front();
            return input;
        }
        if (held-- <= 0) {
            direction = static_cast<std::uint16_t>(pick(9));
            held = 1 + pick(20);
        }
        if (pick(150) == 0) {
            const bool towardsRight = pick(2) == 0;
            const std::uint16_t back = towardsRight ? Direction::Left : Direction::Right;
            motion = {Direction::Down, static_cast<std::uint16_t>(back - 3),
                      static_cast<std::uint16_t>(back | NetInput::kickBit)};
        }
        std::uint16_t input = direction;
        if (pick(30) == 0)
            input |= NetInput::punchBit;
        if (pick(40) == 0)
            input |= NetInput::kickBit;
        if (pick(600) == 0)
            input |= static_cast<std::uint16_t>(NetInput::hideBit << pick(3));
        return input;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    std::mt19937 random;
    std::deque<std::uint16_t> motion;
    std::uint16_t direction = Direction::Neutral;
    int held = 0;
};

struct Side {
    Side(Match& match, int side, int delay, double periodMs, double startMs)
        : session(match, side, delay, sessionId), player(77 + side), state(match.save()),
          periodMs(periodMs), nextTickMs(startMs) {
        session.onConfirmed = [this](int, const StepInput& input, const MatchState&) {
            confirmed.push_back(static_cast<std::uint32_t>(
                NetInput::encode(input.players[0], input.keys) |
                NetInput::encode(input.players[1], {}) << 16));
        };
    }

    RollbackSession session;
    RandomPlayer player;
    MatchState state;
    double periodMs;
    double nextTickMs;
    std::vector<std::uint32_t> confirmed;
    // Steps that carry a local press, with the time it was pressed: waiting to be seen on
    // this side's screen and on the other side's.
    std::deque<std::pair<int, double>> pressesLocal, pressesRemote;
};

struct Mean {
    double sum = 0;
    int count = 0;
    void add(double value) { sum += value, ++count; }
    double steps() const { return count ? sum / count / stepMs : 0; }
};

} // namespace

// The plain match, and a versus match of one-round matches with 10-second rounds, so that ten
// minutes hold many rounds and rematches.
MatchRules relayRules(bool versus) {
    MatchRules rules;
    rules.versus = versus;
    rules.rounds = 1;
    rules.roundSteps = 600;
    return rules;
}

class RollbackRelay : public testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(PlainAndVersus, RollbackRelay, testing::Bool());

// Two sides of an online match on one engine, taking turns on its one match, through a relay
// that delays, jitters, loses, duplicates and reorders: every step both sides confirm gets the
// same input on both, and every exchanged checksum agrees.
TEST_P(RollbackRelay, TwoSidesAgreeOverTenMinutesOfBadNetwork) {
    SteppedMatch stepped(EngineEnvironment::app());
    Match& match = *stepped.match;
    match.start(relayRules(GetParam()));
    Relay relay(2024);
    // The right side's clock runs 0.3% fast and starts 70 ms late: the time sync has work.
    Side sides[2] = {{match, 0, 1, stepMs, 0}, {match, 1, 2, stepMs * 0.997, 70}};
    Mean localPress[2], remotePress[2];

    double nowMs = 0;
    while (sides[0].session.now() < matchSteps || sides[1].session.now() < matchSteps) {
        ASSERT_LT(nowMs, matchSteps * stepMs * 1.2) << "the sides stopped making progress";
        const int x = sides[0].nextTickMs <= sides[1].nextTickMs ? 0 : 1;
        Side& self = sides[x];
        Side& other = sides[1 - x];
        nowMs = self.nextTickMs;
        self.nextTickMs += self.periodMs;

        for (const auto& bytes : relay.receive(x, nowMs)) {
            const std::optional<net::Message> message = MessageCodec::decode(bytes.data(), bytes.size());
            ASSERT_TRUE(message);
            if (const auto* inputs = std::get_if<net::Inputs>(&*message))
                self.session.receive(*inputs);
            else
                self.session.receive(std::get<net::Checksum>(*message));
        }

        match.restore(self.state);
        const std::uint16_t input = self.player.next();
        const int frameStep = self.session.now() + (x == 0 ? 1 : 2);
        if (self.session.step(input) == RollbackSession::Outcome::Advanced &&
            (input & (NetInput::punchBit | NetInput::kickBit))) {
            self.pressesLocal.emplace_back(frameStep, nowMs);
            self.pressesRemote.emplace_back(frameStep, nowMs);
        }
        self.state = match.save();

        relay.send(1 - x, nowMs, self.session.inputsToSend(), false);
        for (const net::Checksum& checksum : self.session.takeChecksums())
            relay.send(1 - x, nowMs, checksum, true);

        // A press is on a screen once that side ran its step on the real input.
        for (auto& press = self.pressesLocal; !press.empty() && self.session.now() > press.front().first;
             press.pop_front())
            localPress[x].add(nowMs - press.front().second);
        for (auto& press = other.pressesRemote;
             !press.empty() && self.session.now() > press.front().first &&
             self.session.remoteFrames() > press.front().first;
             press.pop_front())
            remotePress[x].add(nowMs - press.front().second);
    }

    const double seconds = nowMs / 1000;
    for (int x = 0; x < 2; ++x) {
        const RollbackSession::Stats& stats = sides[x].session.stats();
        std::cout << (x == 0 ? "left" : "right") << " side: " << stats.rollbacks << " rollbacks, "
                  << stats.rolledBackSteps << " steps run again (longest " << stats.maxRollback
                  << "), " << stats.waited << " steps waited, " << stats.skipped
                  << " skipped, " << stats.checksumsMatched << " checksums matched, "
                  << relay.bytesSent[x] / seconds << " bytes/s sent; press to screen "
                  << localPress[x].steps() << " steps here, "
                  << remotePress[1 - x].steps() << " steps on the other side\n";
        EXPECT_FALSE(sides[x].session.desyncStep()) << "desync at step " << *sides[x].session.desyncStep();
        EXPECT_GE(stats.checksumsMatched, matchSteps / RollbackSession::checksumInterval - 2);
        EXPECT_EQ(stats.dropped, 0);
    }
    const std::size_t common = std::min(sides[0].confirmed.size(), sides[1].confirmed.size());
    ASSERT_GE(common, static_cast<std::size_t>(matchSteps - 20));
    EXPECT_TRUE(std::equal(sides[0].confirmed.begin(), sides[0].confirmed.begin() + common,
                           sides[1].confirmed.begin()));
    if (GetParam()) {
        EXPECT_GE(sides[0].state.round.matchesPlayed, 10);
    }
}

// One side's match comes out differently from a step on, as a rule reading something outside
// the match would make it: both sides find it at the next checksum they exchange.
TEST(RollbackRelayParting, AMatchThatPartsIsFoundOnBothSidesAtTheNextChecksum) {
    SteppedMatch stepped(EngineEnvironment::app());
    Match& match = *stepped.match;
    RollbackSession sessions[2] = {{match, 0, 1, sessionId}, {match, 1, 1, sessionId}};
    MatchState states[2] = {match.save(), match.save()};
    // Both stand still: every guess is right, so no rollback undoes the change.
    for (int step = 0; step < 3 * RollbackSession::checksumInterval; ++step) {
        for (int x = 0; x < 2; ++x) {
            match.restore(states[x]);
            if (x == 0 && step == 100)
                stepped.p2().state.health -= 1;
            sessions[x].step(NetInput::idle);
            states[x] = match.save();
            sessions[1 - x].receive(sessions[x].inputsToSend());
            for (const net::Checksum& checksum : sessions[x].takeChecksums())
                sessions[1 - x].receive(checksum);
        }
    }
    for (const RollbackSession& session : sessions)
        EXPECT_EQ(session.desyncStep(), std::optional<int>(2 * RollbackSession::checksumInterval));
}
