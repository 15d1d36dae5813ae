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

#include <Ogre.h>
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

// The longest line, an online player's with big figures, stays on the band: no text to the
// right of the band's edge, 12 pixels from the window's.
TEST(TimingOverlayTest, ALongLineStaysOnItsBand) {
    TimingOverlay overlay;
    overlay.setVisible(true);
    ConnectionFigures connection;
    connection.roundTripMs = 999;
    connection.packetsLost = 123456;
    connection.packetLossPercent = 12.5;
    connection.spectators = 32;
    overlay.show(FrameFigures{}, connection);
    ASSERT_NE(overlay.text().find("packets lost 123456 (12.5%)  watching 32"), std::string::npos)
        << overlay.text();

    Ogre::Image image(Ogre::PF_BYTE_RGBA, 800, 600);
    EngineEnvironment::renderFrame();
    EngineEnvironment::app().getWindow()->copyContentsToMemory(image.getPixelBox(),
                                                                image.getPixelBox());
    // The text's pale yellow, in columns from `left` to `right`, in the band's rows.
    const auto textPixels = [&image](int left, int right) {
        int count = 0;
        for (int y = 70; y < 190; ++y)
            for (int x = left; x < right; ++x) {
                const Ogre::ColourValue c = image.getColourAt(static_cast<std::size_t>(x),
                                                              static_cast<std::size_t>(y), 0);
                count += c.r > 0.8f && c.g > 0.75f && c.b < 0.75f;
            }
        return count;
    };
    EXPECT_GT(textPixels(400, 788), 500);
    EXPECT_EQ(textPixels(788, 800), 0);
}
