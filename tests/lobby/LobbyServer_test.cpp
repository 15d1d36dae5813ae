#include <gtest/gtest.h>

#include <enet/enet.h>

#include "lobby/LobbyCodec.h"
#include "lobby/RoomCode.h"
#include "support/LobbyFixture.h"

using namespace lobby;

namespace {

TEST(LobbyServer, RoomJoinedByCodeInAnyCasePairsBothAndListsTheMatchUntilItsHostLeaves) {
    ServedLobby lobby;
    LobbyPlayer ana(lobby.port(), "ana");
    LobbyPlayer bo(lobby.port(), "bo");
    ASSERT_TRUE(ana.ready() && bo.ready());
    ana.client.send(MakeRoom{});
    const std::optional<RoomMade> room = ana.next<RoomMade>();
    ASSERT_TRUE(room);
    ASSERT_EQ(RoomCode::normalise(room->code), room->code);
    std::string typed = room->code;
    for (char& c : typed)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    bo.client.send(JoinRoom{typed});

    const std::optional<Paired> host = ana.next<Paired>();
    const std::optional<Paired> guest = bo.next<Paired>();
    ASSERT_TRUE(host && guest);
    EXPECT_TRUE(host->host);
    EXPECT_FALSE(guest->host);
    EXPECT_EQ(host->peer, "bo");
    EXPECT_EQ(guest->peer, "ana");
    EXPECT_EQ(host->peerOutside, *bo.client.outside());
    EXPECT_EQ(guest->peerOutside, *ana.client.outside());
    EXPECT_EQ(guest->peerLocal, ana.client.local());
    EXPECT_EQ(host->match, guest->match);

    LobbyPlayer cy(lobby.port(), "cy");
    ASSERT_TRUE(cy.ready());
    cy.client.send(ListMatches{});
    std::optional<MatchList> list = cy.next<MatchList>();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->matches.size(), 1u);
    EXPECT_EQ(list->matches[0].host, "ana");
    EXPECT_EQ(list->matches[0].address, *ana.client.outside());

    // The room was taken: a second guest finds none. The host leaves: the match is unlisted.
    cy.client.send(JoinRoom{room->code});
    EXPECT_EQ(cy.refusal(), Refusal::NoSuchRoom);
    ana.client.disconnect(1000);
    cy.client.send(ListMatches{});
    list = cy.next<MatchList>();
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->matches.empty());
}

TEST(LobbyServer, QuickMatchPairsTheLongestWaitingFirst) {
    ServedLobby lobby;
    std::vector<std::unique_ptr<LobbyPlayer>> players;
    for (const char* name : {"p1", "p2", "p3", "p4"}) {
        players.push_back(std::make_unique<LobbyPlayer>(lobby.port(), name));
        ASSERT_TRUE(players.back()->ready());
    }
    // Queued one after the other, each once the lobby has the one before.
    for (auto& player : players) {
        player->client.send(QuickMatch{});
        player->client.send(ListMatches{});
        ASSERT_TRUE(player->next<MatchList>());
    }
    for (int i = 0; i < 4; ++i) {
        const std::optional<Paired> paired = players[i]->next<Paired>();
        ASSERT_TRUE(paired) << i;
        EXPECT_EQ(paired->peer, "p" + std::to_string((i ^ 1) + 1));
        EXPECT_EQ(paired->host, i % 2 == 0);
    }
}

TEST(LobbyServer, RefusesWhatIsOfTheWrongFormOrOrderAndKeepsServingOthers) {
    ServedLobby lobby;
    LobbyPlayer taken(lobby.port(), "dee");
    ASSERT_TRUE(taken.ready());
    LobbyPlayer twin(lobby.port(), "dee");
    EXPECT_EQ(twin.refusal(), Refusal::NameTaken);
    LobbyPlayer bad(lobby.port(), " x");
    EXPECT_EQ(bad.refusal(), Refusal::WrongName);
    // A refused name may try again; until greeted nothing else is taken.
    bad.client.send(MakeRoom{});
    EXPECT_EQ(bad.refusal(), Refusal::Order);

    taken.client.send(JoinRoom{"K0OI"});
    EXPECT_EQ(taken.refusal(), Refusal::WrongCode);
    taken.client.send(MakeRoom{});
    ASSERT_TRUE(taken.next<RoomMade>());
    taken.client.send(QuickMatch{});
    EXPECT_EQ(taken.refusal(), Refusal::Busy);
    // Left, the room is freed and the player may queue.
    taken.client.send(Leave{});
    taken.client.send(QuickMatch{});
    taken.client.send(ListMatches{});
    EXPECT_TRUE(taken.next<MatchList>());

    // What only the lobby says, from a game: let go.
    LobbyPlayer liar(lobby.port(), "liar");
    ASSERT_TRUE(liar.ready());
    liar.client.send(Paired{});
    EXPECT_EQ(liar.refusal(), Refusal::Malformed);
    liar.client.poll(300);
    EXPECT_TRUE(liar.client.lost());

    // Fifty messages at once: let go, and the others are still answered.
    LobbyPlayer flood(lobby.port(), "flood");
    ASSERT_TRUE(flood.ready());
    for (int i = 0; i < 50; ++i)
        flood.client.send(ListMatches{});
    bool refused = false;
    for (int i = 0; i < 50 && !flood.client.lost(); ++i)
        for (const Message& message : flood.client.poll(20))
            refused |= std::holds_alternative<Refused>(message) &&
                       std::get<Refused>(message).reason == Refusal::Flooding;
    EXPECT_TRUE(refused);
    EXPECT_TRUE(flood.client.lost());
    taken.client.send(Leave{});
    taken.client.send(MakeRoom{});
    EXPECT_TRUE(taken.next<RoomMade>());
}

TEST(LobbyServer, AGameThatNeverGreetsIsLetGo) {
    LobbyServer::Setup setup;
    setup.helloSeconds = 0.2;
    ServedLobby lobby(ServedLobby::memoryStore(), setup);
    ASSERT_EQ(enet_initialize(), 0);
    ENetHost* silent = enet_host_create(nullptr, 1, 1, 0, 0);
    silent->checksum = enet_crc32;
    ENetAddress address{ServedLobby::htonLoopback(), lobby.port()};
    enet_host_connect(silent, &address, 1, 0);
    ENetEvent event;
    bool connected = false;
    bool letGo = false;
    for (int i = 0; i < 300 && !letGo; ++i)
        if (enet_host_service(silent, &event, 10) > 0) {
            connected |= event.type == ENET_EVENT_TYPE_CONNECT;
            letGo = event.type == ENET_EVENT_TYPE_DISCONNECT;
        }
    EXPECT_TRUE(connected);
    EXPECT_TRUE(letGo);
    enet_host_destroy(silent);
    enet_deinitialize();
}

} // namespace
