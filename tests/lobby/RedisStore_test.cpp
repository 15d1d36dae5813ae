#include <gtest/gtest.h>

#include "lobby/RedisStore.h"
#include "support/LobbyFixture.h"
#include "support/RedisServer.h"

using namespace lobby;

namespace {

// Two lobby processes on one Redis: players on either find each other's rooms, names and
// queue, and see each other's matches.
TEST(RedisStore, TwoLobbiesShareNamesRoomsQueueAndMatches) {
    RedisServer redis;
    if (!redis.available())
        GTEST_SKIP() << "needs Debian's redis-server";
    ServedLobby first(std::make_unique<RedisStore>("127.0.0.1", redis.port, 600));
    ServedLobby second(std::make_unique<RedisStore>("127.0.0.1", redis.port, 600));
    LobbyPlayer ana(first.port(), "ana");
    LobbyPlayer bo(second.port(), "bo");
    ASSERT_TRUE(ana.ready() && bo.ready());
    LobbyPlayer twin(second.port(), "ana");
    EXPECT_EQ(twin.refusal(), Refusal::NameTaken);

    ana.client.send(MakeRoom{});
    const std::optional<RoomMade> room = ana.next<RoomMade>();
    ASSERT_TRUE(room);
    bo.client.send(JoinRoom{room->code});
    const std::optional<Paired> host = ana.next<Paired>();
    const std::optional<Paired> guest = bo.next<Paired>();
    ASSERT_TRUE(host && guest);
    EXPECT_EQ(host->peer, "bo");
    EXPECT_EQ(guest->peerOutside, *ana.client.outside());

    LobbyPlayer cy(first.port(), "cy");
    LobbyPlayer dee(second.port(), "dee");
    ASSERT_TRUE(cy.ready() && dee.ready());
    cy.client.send(QuickMatch{});
    cy.client.send(ListMatches{});
    const std::optional<MatchList> list = cy.next<MatchList>();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->matches.size(), 1u);
    EXPECT_EQ(list->matches[0].guest, "bo");
    dee.client.send(QuickMatch{});
    const std::optional<Paired> waitedLonger = cy.next<Paired>();
    const std::optional<Paired> cameLater = dee.next<Paired>();
    ASSERT_TRUE(waitedLonger && cameLater);
    EXPECT_TRUE(waitedLonger->host);
    EXPECT_EQ(cameLater->peer, "cy");

    // A name is free again once its player left, on any process.
    ana.client.disconnect(1000);
    LobbyPlayer again(second.port(), "ana");
    EXPECT_TRUE(again.ready());
}

} // namespace
