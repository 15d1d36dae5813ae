#include <sys/stat.h>

#include <gtest/gtest.h>

#include "frontdoor/FrontDoor.h"
#include "frontdoor/OnlineScreen.h"
#include "frontdoor/ReplaysScreen.h"

// What the online screen lets start: a host's port and an address to join or watch, each typed.
TEST(OnlineScreen, AcceptsOnlyAPortOrAnIpv4AddressItCanUse) {
    for (const char* port : {"1", "7717", "65535"})
        EXPECT_EQ(OnlineScreen::portProblem(port), "") << port;
    for (const char* port : {"", "0", "65536", "99999999", "77a", "-1"})
        EXPECT_NE(OnlineScreen::portProblem(port), "") << port;
    for (const char* address : {"localhost", "10.0.0.2", "host:7718"})
        EXPECT_EQ(OnlineScreen::addressProblem(address), "") << address;
    EXPECT_EQ(OnlineScreen::addressProblem("[::1]:7717"), "IPv6 addresses are not supported");
    EXPECT_EQ(OnlineScreen::addressProblem("fe80::1"), "IPv6 addresses are not supported");
    for (const char* address : {"", ":7717", "host:", "host:0", "host:port"})
        EXPECT_NE(OnlineScreen::addressProblem(address), "") << address;
}

// A row's line tells the fighters, the mode and the result in short; a damaged file says why.
TEST(ReplaysScreen, TellsEachRecordingInShort) {
    ReplayListing listing;
    listing.summary.emplace();
    listing.summary->fighters = {"sora", "brann"};
    listing.summary->stage = "dojo";
    listing.summary->mode = ReplayMode{ReplayMode::Computer, 4, 1};
    listing.summary->result = ReplayResult{0, {2, 1}};
    listing.summary->rules.versus = true;
    listing.summary->steps = 83 * 60;
    EXPECT_EQ(ReplaysScreen::line(listing), "Sora v Brann, CPU 4, P1 2-1");
    EXPECT_EQ(ReplaysScreen::details(listing),
              (std::vector<std::string>{"Sora v Brann on the dojo",
                                        "against the computer (level 4, right), 3 rounds",
                                        "Player 1 wins 2-1, 1:23"}));
    listing.summary->mode = ReplayMode{ReplayMode::Versus, 0, 0};
    listing.summary->result = ReplayResult{ReplayResult::draw, {1, 1}};
    EXPECT_EQ(ReplaysScreen::line(listing), "Sora v Brann, versus, draw 1-1");

    ReplayListing damaged;
    damaged.damage = "the file ends in the middle of a step, well before its closing record";
    EXPECT_EQ(ReplaysScreen::line(damaged), "the file ends in the middle of a step...");
    EXPECT_NE(ReplaysScreen::row(damaged).find("damaged"), std::string::npos);
}

// Fighter select offers the media folder's fighters with their shown names and standing
// pictures, and its stages.
TEST(FrontDoor, OffersTheRostersFightersWithTheirPictures) {
    const std::vector<RosterEntry> fighters = FrontDoor::fightersOf(VORRAK_MEDIA);
    ASSERT_EQ(fighters.size(), 4u);
    EXPECT_EQ(fighters[0].name, "brann");
    EXPECT_EQ(fighters[0].shown, "Brann");
    EXPECT_EQ(fighters[2].shown, "Kaede");
    EXPECT_EQ(fighters[3].shown, "Sora");
    for (const RosterEntry& fighter : fighters) {
        struct stat status {};
        EXPECT_EQ(::stat(fighter.picture.c_str(), &status), 0) << fighter.picture;
    }
    const std::vector<RosterEntry> stages = FrontDoor::stagesOf(VORRAK_MEDIA);
    ASSERT_EQ(stages.size(), 4u);
    EXPECT_EQ(stages[0].name, "courtyard");
    EXPECT_EQ(stages[2].name, "grove");
}
