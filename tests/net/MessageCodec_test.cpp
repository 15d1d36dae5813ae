#include <random>

#include <gtest/gtest.h>

#include "net/MessageCodec.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const Lineup lineup{{{{"brann", 0x1111}, {"sora", 0x2222}}}, {"courtyard", 0x3333}};

const net::Message samples[] = {
    net::Hello{net::protocolVersion, 0x0123456789abcdefull, 0xdeadbeef},
    net::Inputs{7, 120, 118, 125, -3, {0x004, 0x015, 0x1e8}},
    net::Inputs{7, 0, 0, 0, 0, {}},
    net::Checksum{7, 600, 0xfedcba9876543210ull},
    net::Quit{7, net::QuitReason::Desync, 540},
    net::Rules{MatchRules{true, 5, 600}},
    net::Start{7, 0, lineup, MatchRules{false, 3, 5940}, {}},
    net::Start{7, 1200, lineup, MatchRules{true, 3, 600}, {1, 2, 3, 4}},
    net::Steps{7, 360, {0x0004, 0x0113, 0xe000}},
    net::Watching{7, 300},
    net::Choice{{"brann", 0x0123456789abcdefull}, {"courtyard", 0x5eed}},
    net::Choice{{"sora", 1}, {}},
};

std::optional<net::Message> decode(const Bytes& bytes) {
    return MessageCodec::decode(bytes.data(), bytes.size());
}

// A packet accepted is exactly what encoding its message gives: nothing malformed gets by
// with a part of it ignored.
void expectCanonicalOrRejected(const Bytes& bytes) {
    if (const std::optional<net::Message> message = decode(bytes)) {
        EXPECT_EQ(MessageCodec::encode(*message), bytes);
    }
}

Bytes withByte(Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

} // namespace

TEST(MessageCodec, EveryMessageComesBackAsItWasSent) {
    for (const net::Message& message : samples) {
        const Bytes bytes = MessageCodec::encode(message);
        const std::optional<net::Message> decoded = decode(bytes);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(MessageCodec::encode(*decoded), bytes);
        EXPECT_EQ(decoded->index(), message.index());
    }
}

TEST(MessageCodec, MalformedPacketsAreRejected) {
    const Bytes inputs = MessageCodec::encode(samples[1]);
    const Bytes hello = MessageCodec::encode(samples[0]);
    const Bytes quit = MessageCodec::encode(samples[4]);
    const Bytes rules = MessageCodec::encode(samples[5]);
    const Bytes choice = MessageCodec::encode(samples[10]);
    Bytes longInputs =
        MessageCodec::encode(net::Inputs{7, 0, 0, 0, 0, std::vector<std::uint16_t>(64, 4)});
    longInputs[18] = 65;
    longInputs.insert(longInputs.end(), {4, 0});
    const Bytes malformed[] = {
        {},
        {0},
        {9, 1, 2, 3},
        Bytes(inputs.begin(), inputs.end() - 1), // truncated
        [&] {
            Bytes b = inputs;
            b.push_back(0);
            return b;
        }(),                                     // a byte too many
        withByte(inputs, 18, 4),                 // count says more frames than there are
        withByte(inputs, 19, 9),                 // no such direction
        withByte(inputs, 20, 0x02),              // bits past the display keys
        withByte(inputs, 8, 0x80),               // negative first step
        withByte(hello, 1, 'X'),                 // not our magic
        withByte(quit, 5, net::quitReasonCount), // no such reason
        longInputs,                              // more frames than a message may carry
        withByte(rules, 1, 2),                   // versus neither on nor off
        withByte(rules, 2, 4),                   // an even number of rounds
        withByte(withByte(rules, 3, 0), 4, 0),   // a round of no steps
        withByte(rules, 7, 9),                   // rules of a version it does not have
        MessageCodec::encode(net::Start{7, 60, lineup, MatchRules{}, {}}),  // under way, no match
        MessageCodec::encode(net::Start{7, 0, lineup, MatchRules{}, {1}}),  // a match before step 0
        MessageCodec::encode(net::Start{7, 0, Lineup{}, MatchRules{}, {}}), // no fighters
        withByte(choice, 2, '/'),                         // a fighter's name no player types
        withByte(choice, 1, 0),                           // no fighter
        withByte(choice, 1, 6),                           // a name longer than the bytes
        MessageCodec::encode(net::Steps{7, 0, {0x1000}}), // a quit among the steps
        MessageCodec::encode(net::Steps{7, 0, {0x0009}}), // no such direction
        MessageCodec::encode(net::Watching{7, -1}),       // a negative step
    };
    for (const Bytes& bytes : malformed)
        EXPECT_FALSE(decode(bytes)) << "accepted a packet of " << bytes.size() << " bytes";
}

// Random junk and damaged messages: decoding never crashes, and whatever it accepts is well
// formed. Bounded: a fixed seed and a fixed number of packets.
TEST(MessageCodec, FuzzedPacketsNeverGetThroughMalformed) {
    std::mt19937 random(11);
    const auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    int accepted = 0;
    for (int i = 0; i < 200000; ++i) {
        Bytes bytes;
        if (i % 2 == 0) {
            bytes.resize(static_cast<std::size_t>(pick(160)));
            for (std::uint8_t& byte : bytes)
                byte = static_cast<std::uint8_t>(pick(256));
            if (!bytes.empty())
                bytes[0] = static_cast<std::uint8_t>(pick(10));
        } else {
            bytes = MessageCodec::encode(samples[pick(std::size(samples))]);
            for (int flips = 1 + pick(3); flips > 0; --flips)
                bytes[static_cast<std::size_t>(pick(static_cast<int>(bytes.size())))] ^=
                    static_cast<std::uint8_t>(1 << pick(8));
            if (pick(4) == 0)
                bytes.resize(static_cast<std::size_t>(pick(static_cast<int>(bytes.size()) + 4)));
        }
        accepted += decode(bytes).has_value();
        expectCanonicalOrRejected(bytes);
    }
    // Flipped session ids and checksums are well formed: some must get through, or the
    // check above checked nothing.
    EXPECT_GT(accepted, 1000);
}
