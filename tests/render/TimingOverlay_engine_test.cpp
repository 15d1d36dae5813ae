#include <algorithm>
#include <chrono>
#include <iostream>
#include <optional>
#include <memory>
#include <random>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "app/NetPlay.h"
#include "match/Match.h"
#include "net/RollbackSession.h"
#include "render/TimingOverlay.h"
#include "replay/ReplayRecorder.h"
#include "support/EngineEnvironment.h"
#include "support/SteppedMatch.h"
#include "support/UdpRelay.h"
#include "support/testFighters.h"

namespace {

using Clock = std::chrono::steady_clock;

NetPlay::Setup side(bool host, std::uint16_t port) {
    NetPlay::Setup setup;
    setup.host = host;
    setup.hostName = "127.0.0.1";
    setup.port = port;
    setup.inputDelay = 2;
    setup.fighter = defaultLineup().fighters[0];
    setup.stage = defaultLineup().stage;
    setup.mediaFolder = VORRAK_MEDIA;
    setup.spectators = host ? 2 : 0;
    return setup;
}

int shownNumber(const std::string& text, const char* pattern) {
    std::smatch found;
    if (!std::regex_search(text, found, std::regex(pattern)))
        return -1;
    return std::stoi(found[1]);
}

} // namespace

// Two real games over ENet through a relay that holds every datagram 100 ms each way, both
// stepping 60 times a second and taking turns on the test's one match: the overlay the host
// shows gives the round trip within 20% of the relay's 200 ms (each side hears the network
// once a step, which adds up to a step each way), the input delay, no rollbacks as nobody
// presses, no spectator, and the frame loop's figures as given.
TEST(TimingOverlayTest, ShowsTheRoundTripOfARelayOfKnownDelay) {
    SteppedMatch stepped(EngineEnvironment::app());
    Match& match = *stepped.match;
    std::mt19937 random(34);
    std::unique_ptr<NetPlay> host;
    std::uint16_t hostPort = 0;
    // A port drawn at random may be taken.
    for (int tries = 0; !host; ++tries) {
        try {
            hostPort = static_cast<std::uint16_t>(
                std::uniform_int_distribution<int>(20000, 60000)(random));
            host = std::make_unique<NetPlay>(match, side(true, hostPort));
        } catch (const std::runtime_error&) {
            ASSERT_LT(tries, 10);
        }
    }
    UdpRelay relay(hostPort, Faults{100, 0, 0, 0, 0, 0, 0}, 34);
    NetPlay guest(match, side(false, relay.port()));

    // The guest's steps half a step after the host's; 4 s of play after they met.
    NetPlay* sides[2] = {host.get(), &guest};
    MatchState states[2] = {match.save(), match.save()};
    const auto stepMs = std::chrono::microseconds(16667);
    Clock::time_point next[2] = {Clock::now(), Clock::now() + stepMs / 2};
    std::optional<Clock::time_point> met;
    while (!met || Clock::now() - *met < std::chrono::seconds(4)) {
        ASSERT_LT(Clock::now() - next[0], std::chrono::seconds(40)) << "the sides never met";
        relay.pump();
        for (int x = 0; x < 2; ++x) {
            if (Clock::now() < next[x])
                continue;
            next[x] += stepMs;
            match.restore(states[x]);
            ASSERT_TRUE(sides[x]->step(StepInput{}));
            states[x] = match.save();
        }
        if (!met && host->rollback() && guest.rollback())
            met = Clock::now();
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }

    TimingOverlay overlay;
    overlay.setVisible(true);
    FrameFigures frames;
    frames.picturesPerSecond = 60;
    frames.stepMeanMs = 0.25;
    frames.stepWorstMs = 0.5;
    frames.pictureMeanMs = 3;
    frames.pictureWorstMs = 7.5;
    overlay.show(frames, host->connection());
    const std::string& text = overlay.text();
    std::cout << text << "\n";
    EXPECT_NEAR(shownNumber(text, "round trip (\\d+) ms"), 200, 40) << text;
    EXPECT_EQ(shownNumber(text, "delay (\\d+)"), 2) << text;
    EXPECT_EQ(shownNumber(text, "rollbacks (\\d+)/s"), 0) << text;
    EXPECT_EQ(shownNumber(text, "watching (\\d+)"), 0) << text;
    EXPECT_EQ(shownNumber(text, "(\\d+) pictures/s"), 60) << text;
    EXPECT_NE(text.find("picture  3.00 ms  worst  7.50"), std::string::npos) << text;
}

// Hidden until asked for, and without the connection's lines when there is none.
TEST(TimingOverlayTest, StartsHiddenAndShowsNoConnectionOffline) {
    TimingOverlay overlay;
    EXPECT_FALSE(overlay.visible());
    overlay.toggle();
    EXPECT_TRUE(overlay.visible());
    overlay.show(FrameFigures{}, std::nullopt);
    EXPECT_EQ(overlay.text().find("round trip"), std::string::npos);
    EXPECT_EQ(std::count(overlay.text().begin(), overlay.text().end(), '\n'), 2);
}
