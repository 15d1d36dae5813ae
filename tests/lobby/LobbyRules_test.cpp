#include <gtest/gtest.h>

#include "lobby/FloodGate.h"
#include "lobby/LobbyCodec.h"
#include "lobby/PlayerName.h"
#include "lobby/QuickMatchRule.h"
#include "lobby/RoomCode.h"

using namespace lobby;

namespace {

TEST(PlayerName, TwoToSixteenPrintableCharactersWithoutLooseSpaces) {
    for (const char* good : {"ab", "Ana B", "x_y-z.1", "sixteen chars ok"})
        EXPECT_TRUE(PlayerName::valid(good)) << good;
    for (const char* bad : {"", "a", "seventeen chars!!", " ana", "ana ", "a  b", "tab\there",
                            "caf\xc3\xa9", "bell\x07"})
        EXPECT_FALSE(PlayerName::valid(bad)) << bad;
}

TEST(RoomCode, FourLettersWithoutLookAlikesInEitherCase) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 200; ++i) {
        const std::string code = RoomCode::make(random);
        ASSERT_EQ(code.size(), 4u);
        EXPECT_EQ(code.find_first_of("0O1IL2Z5S8BUV"), std::string::npos) << code;
        EXPECT_EQ(RoomCode::normalise(code), code);
    }
    EXPECT_EQ(RoomCode::normalise("k7qx"), "K7QX");
    for (const char* bad : {"K7Q", "K7QXX", "K0QX", "K7 X", "K7Q\xc3"})
        EXPECT_FALSE(RoomCode::normalise(bad)) << bad;
}

TEST(LobbyCodec, TakesOnlyWhatItWrites) {
    const Paired paired{true, 41, "bo", {0x0100007f, 7001}, {0x0a00000a, 7002}, {0, 7801}, 38};
    const std::vector<std::uint8_t> bytes = LobbyCodec::encode(paired);
    const std::optional<Message> back = LobbyCodec::decode(bytes.data(), bytes.size());
    ASSERT_TRUE(back && std::holds_alternative<Paired>(*back));
    EXPECT_EQ(std::get<Paired>(*back).peerLocal, paired.peerLocal);
    EXPECT_EQ(std::get<Paired>(*back).pingMs, 38);
    // Cut short, one byte over, an unknown type, a host flag of 2.
    EXPECT_FALSE(LobbyCodec::decode(bytes.data(), bytes.size() - 1));
    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(LobbyCodec::decode(longer.data(), longer.size()));
    const std::uint8_t unknown[] = {13};
    EXPECT_FALSE(LobbyCodec::decode(unknown, 1));
    std::vector<std::uint8_t> flag = bytes;
    flag[1] = 2;
    EXPECT_FALSE(LobbyCodec::decode(flag.data(), flag.size()));
    // A name said to be 200 bytes long, with the bytes there.
    std::vector<std::uint8_t> hello = LobbyCodec::encode(Hello{});
    hello[3] = 200;
    hello.insert(hello.begin() + 4, 200, 'a');
    EXPECT_FALSE(LobbyCodec::decode(hello.data(), hello.size()));
    // A list longer than the lobby sends.
    MatchList list;
    list.matches.resize(maxListedMatches + 1);
    const std::vector<std::uint8_t> listed = LobbyCodec::encode(list);
    EXPECT_FALSE(LobbyCodec::decode(listed.data(), listed.size()));

    const std::vector<std::uint8_t> probe = LobbyCodec::probe(0x1122334455667788);
    EXPECT_EQ(LobbyCodec::readProbe(probe.data(), probe.size()), 0x1122334455667788u);
    EXPECT_FALSE(LobbyCodec::readProbe(bytes.data(), bytes.size()));
}

std::vector<QueuedPlayer> waiting(std::initializer_list<std::pair<int, double>> pingsAndTimes) {
    std::vector<QueuedPlayer> players;
    for (const auto& [ping, since] : pingsAndTimes) {
        QueuedPlayer player;
        player.card.pingMs = static_cast<std::uint16_t>(ping);
        player.since = since;
        players.push_back(player);
    }
    return players;
}

TEST(QuickMatchRule, LongestWaitingFirstOrNearestWithinThePingLimitUntilGraceRunsOut) {
    using Pair = std::pair<std::size_t, std::size_t>;
    const QuickMatchRule anyone(0, 10);
    EXPECT_FALSE(anyone.choose(waiting({{300, 0}}), 0));
    EXPECT_EQ(anyone.choose(waiting({{300, 0}, {10, 1}, {10, 2}}), 3), Pair(0, 1));

    // 100 ms between both: the far player waits, the two near ones play.
    const QuickMatchRule near(100, 10);
    EXPECT_EQ(near.choose(waiting({{300, 0}, {40, 1}, {50, 2}}), 3), Pair(1, 2));
    // The oldest has a near opponent further back.
    EXPECT_EQ(near.choose(waiting({{60, 0}, {90, 1}, {30, 2}}), 3), Pair(0, 2));
    EXPECT_FALSE(near.choose(waiting({{300, 0}, {40, 1}}), 9));
    // After 10 s the far player takes whoever is next.
    EXPECT_EQ(near.choose(waiting({{300, 0}, {40, 1}}), 10), Pair(0, 1));
}

TEST(FloodGate, TwentyAtOnceThenTenASecond) {
    FloodGate gate(10, 20);
    int passed = 0;
    for (int i = 0; i < 30; ++i)
        passed += gate.pass(0);
    EXPECT_EQ(passed, 20);
    EXPECT_FALSE(gate.pass(0.05));
    EXPECT_TRUE(gate.pass(0.1));
    passed = 0;
    for (int i = 0; i < 30; ++i)
        passed += gate.pass(1.1);
    EXPECT_EQ(passed, 10);
}

} // namespace
