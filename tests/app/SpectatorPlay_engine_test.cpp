#include <chrono>
#include <memory>
#include <optional>
#include <random>
#include <regex>
#include <stdexcept>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "app/SpectatorPlay.h"
#include "match/Match.h"
#include "match/checksum.h"
#include "net/EnetLink.h"
#include "net/SpectatorFeed.h"
#include "support/EngineEnvironment.h"
#include "support/SteppedMatch.h"
#include "support/testFighters.h"

namespace {

StepInput walkAndPunch(int step) {
    StepInput input;
    input.players[0] =
        InputFrame::fromInputBits(step % 40 < 20 ? Direction::Right : Direction::Left);
    input.players[0].pressed[0] = step % 25 == 0;
    input.players[1].pressed[1] = step % 30 == 7;
    return input;
}

// The host's side without a match: the real link and feed, handed the steps a test chooses.
struct Host {
    explicit Host(std::uint16_t port)
        : link(EnetLink::host(port, 10000, 1)), feed(9, MatchRules{}) {
        feed.cast(defaultLineup());
    }

    void serve() {
        const EnetLink::Polled polled = link->poll();
        for (int id : polled.spectatorsJoined)
            feed.join(id);
        for (const SpectatorFeed::Outgoing& outgoing : feed.take())
            link->sendTo(outgoing.spectator, outgoing.message);
        for (int id : feed.takeLeftBehind())
            link->dropSpectator(id);
        link->flush();
    }
    void confirm(int steps, const MatchState& after = {}) {
        for (int i = 0; i < steps; ++i, ++confirmed)
            feed.confirmed(confirmed, walkAndPunch(confirmed), after);
    }

    std::unique_ptr<EnetLink> link;
    SpectatorFeed feed;
    int confirmed = 0;
};

// A spectator on the test's match, watching a host on this machine, a delay of 30 steps.
struct Watch {
    Watch() : stepped(EngineEnvironment::app()), random(std::random_device{}()) {
        for (int tries = 0; !host; ++tries) {
            port = static_cast<std::uint16_t>(
                std::uniform_int_distribution<int>(20000, 60000)(random));
            try {
                host = std::make_unique<Host>(port);
            } catch (const std::runtime_error&) {
                if (tries == 10)
                    throw;
            }
        }
        SpectatorPlay::Setup setup;
        setup.hostName = "127.0.0.1";
        setup.port = port;
        setup.mediaFolder = VORRAK_MEDIA;
        setup.cast = [this](const Lineup& lineup) { cast = lineup; };
        setup.delaySteps = 30;
        spectator = std::make_unique<SpectatorPlay>(*stepped.match, std::move(setup));
    }

    // One tick of each until `done`, the spectator ends (its reason, if it failed) or 20 s pass.
    template <typename Done> std::optional<std::string> run(Done done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done() && std::chrono::steady_clock::now() < end) {
            host->serve();
            try {
                StepInput input;
                input.keys = std::exchange(keys, {});
                if (!spectator->step(input))
                    return std::string("ended");
            } catch (const std::runtime_error& e) {
                return std::string(e.what());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return std::nullopt;
    }

    SteppedMatch stepped;
    std::mt19937 random;
    std::uint16_t port = 0;
    std::unique_ptr<Host> host;
    std::unique_ptr<SpectatorPlay> spectator;
    // The viewer's program keys for the next tick.
    ProgramKeys keys;
    // The fighters and stage the host said.
    std::optional<Lineup> cast;
};

} // namespace

// From the first step, the spectator waits for the delay's worth of steps, catches up faster
// than one step a tick while it is far behind, and plays exactly to the host's last step: the
// match the players would show at that step.
TEST(SpectatorPlay, FillsTheDelayCatchesUpAndEndsOnTheHostsLastStep) {
    std::uint64_t atEnd = 0;
    {
        SteppedMatch players(EngineEnvironment::app());
        for (int step = 0; step < 300; ++step)
            players.step(walkAndPunch(step));
        atEnd = checksum(players.match->save());
    }
    Watch watch;
    watch.run([&] { return watch.spectator->startStep().has_value(); });
    ASSERT_EQ(watch.spectator->startStep(), 0);
    watch.host->confirm(20);
    int ticks = 0;
    EXPECT_FALSE(watch.run([&] { return ++ticks > 30; }));
    EXPECT_EQ(watch.spectator->stepsPlayed(), 0) << "played before the delay filled";
    watch.host->confirm(280); // more at once than one message carries
    ticks = 0;
    watch.run([&] { return ++ticks > 100; });
    EXPECT_GT(watch.spectator->stepsPlayed(), 105) << "no faster than the clock while behind";
    watch.host->feed.end(net::QuitReason::Escape, nullptr);
    EXPECT_EQ(watch.run([] { return false; }), std::string("ended"));
    EXPECT_EQ(watch.spectator->stepsPlayed(), 300);
    EXPECT_EQ(checksum(watch.stepped.match->save()), atEnd);
}

// Steps coming at the clock's pace are shown the delay (half a second) behind, as the top line
// says; a pause of the host's, waiting for its guest, leaves the picture no less late.
TEST(SpectatorPlay, SaysHowFarBehindItShowsTheMatch) {
    Watch watch;
    watch.run([&] { return watch.spectator->startStep().has_value(); });
    const auto tick = [&](int ticks, bool confirming) {
        auto at = std::chrono::steady_clock::now();
        for (int i = 0; i < ticks; ++i) {
            if (confirming)
                watch.host->confirm(1);
            watch.host->serve();
            ASSERT_TRUE(watch.spectator->step(StepInput{}));
            at += std::chrono::microseconds(16667);
            std::this_thread::sleep_until(at);
        }
    };
    const auto behind = [&] {
        std::smatch found;
        const std::string& line = watch.spectator->topLine();
        EXPECT_TRUE(std::regex_search(line, found, std::regex("([0-9.]+) s behind"))) << line;
        return found.empty() ? -1.0 : std::stod(found[1]);
    };
    tick(90, true);
    EXPECT_NEAR(behind(), 0.5, 0.2);
    tick(24, false);
    EXPECT_NEAR(behind(), 0.5, 0.2) << "the steps left waiting are not how late the picture is";
}

// The viewer's F3 and F2 show the boxes and the panels on its own screen; the match it ends on
// is the host's, as recorded.
TEST(SpectatorPlay, TheViewersDisplayKeysLeaveTheHostsMatchAlone) {
    std::uint64_t atEnd = 0;
    {
        SteppedMatch players(EngineEnvironment::app());
        for (int step = 0; step < 200; ++step)
            players.step(walkAndPunch(step));
        atEnd = checksum(players.match->save());
    }
    Watch watch;
    watch.run([&] { return watch.spectator->startStep().has_value(); });
    watch.host->confirm(200);
    watch.run([&] { return watch.spectator->stepsPlayed() > 60; });
    watch.keys.showHitboxes = watch.keys.showInputPanels = true;
    watch.run([&] { return watch.spectator->stepsPlayed() > 100; });
    EXPECT_TRUE(watch.stepped.match->save().fighters[0].hitboxesShown);
    watch.host->feed.end(net::QuitReason::Escape, nullptr);
    ASSERT_EQ(watch.run([] { return false; }), std::string("ended"));
    watch.spectator->finish();
    EXPECT_EQ(checksum(watch.stepped.match->save()), atEnd);
}

// A spectator more than 10 s behind the confirmed match is let go, and says so.
TEST(SpectatorPlay, OneLeftFarBehindIsToldSo) {
    Watch watch;
    watch.run([&] { return watch.spectator->startStep().has_value(); });
    watch.host->confirm(SpectatorFeed::maxBehind + 60);
    const std::optional<std::string> failure = watch.run([] { return false; });
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("fell more than 10 s behind the match"), std::string::npos) << *failure;
}

// The host's checksum of a step that does not match ends the spectator naming the step.
TEST(SpectatorPlay, AChecksumThatDiffersEndsItNamingTheStep) {
    Watch watch;
    watch.run([&] { return watch.spectator->startStep().has_value(); });
    watch.host->confirm(120);
    watch.host->feed.checksum(net::Checksum{9, 60, 0xbad});
    const std::optional<std::string> failure = watch.run([] { return false; });
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("out of sync at step 60"), std::string::npos) << *failure;
}

// Joining a match under way starts from the host's confirmed match; one whose animations stand
// where the character data has no frames is refused, not shown.
TEST(SpectatorPlay, ALateStartIsTheHostsMatchOrRefused) {
    for (const bool damaged : {false, true}) {
        Watch watch;
        for (int step = 0; step < 90; ++step)
            watch.stepped.step(walkAndPunch(step));
        MatchState state = watch.stepped.match->save();
        if (damaged)
            state.fighters[1].animation.tracks[0].segmentIndex = 99;
        const std::uint64_t expected = checksum(state);
        watch.host->confirm(90);
        watch.run([&] { return watch.host->feed.watching() > 0; });
        watch.host->confirm(6, state);
        const std::optional<std::string> failure =
            watch.run([&] { return watch.spectator->startStep().has_value(); });
        if (damaged) {
            ASSERT_TRUE(failure);
            EXPECT_NE(failure->find("sent a match this game cannot show"), std::string::npos);
        } else {
            EXPECT_EQ(watch.spectator->startStep(), 96);
            EXPECT_EQ(checksum(watch.stepped.match->save()), expected);
        }
    }
}

// The host's fighters and stage are the spectator's, checked against its own files: one it
// lacks, or has another file of, ends it naming it.
TEST(SpectatorPlay, TakesTheHostsFightersOrNamesTheOneItLacks) {
    {
        Watch watch;
        watch.run([&] { return watch.spectator->startStep().has_value(); });
        EXPECT_EQ(watch.cast, defaultLineup());
    }
    Lineup unknown = defaultLineup();
    unknown.fighters[1].name = "zed";
    Lineup otherFile = defaultLineup();
    otherFile.stage.fingerprint ^= 1;
    const std::pair<Lineup, const char*> refused[] = {
        {unknown, "plays the fighter 'zed', which this game does not have"},
        {otherFile, "plays on the stage 'dojo' from another file than this game's"},
    };
    for (const auto& [lineup, line] : refused) {
        Watch watch;
        watch.host->feed.cast(lineup);
        const std::optional<std::string> failure = watch.run([] { return false; });
        ASSERT_TRUE(failure);
        EXPECT_NE(failure->find(line), std::string::npos) << *failure;
        EXPECT_FALSE(watch.cast);
    }
}
