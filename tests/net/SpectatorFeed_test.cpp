#include <gtest/gtest.h>

#include "match/MatchStateCodec.h"
#include "net/SpectatorFeed.h"
#include "replay/ReplayFormat.h"

namespace {

constexpr std::uint32_t session = 77;
const Lineup lineup{{{{"brann", 1}, {"sora", 2}}}, {"courtyard", 3}};

// A feed whose confirmed steps are told apart by their input and by the health they leave.
struct Feed {
    SpectatorFeed feed = [] {
        SpectatorFeed made(session, MatchRules{true, 3, 600});
        made.cast(lineup);
        return made;
    }();
    int steps = 0;

    static StepInput inputOf(int step) {
        StepInput input;
        input.players[0] = InputFrame::fromInputBits(static_cast<unsigned>(step % 9));
        input.players[1].pressed[0] = step % 2 == 1;
        return input;
    }
    static MatchState after(int step) {
        MatchState state;
        state.fighters[0].state.health = 1000 - step;
        return state;
    }
    void confirm(int count) {
        for (int i = 0; i < count; ++i, ++steps)
            feed.confirmed(steps, inputOf(steps), after(steps));
    }
    // The messages for one spectator, taken now.
    std::vector<net::Message> take(int spectator) {
        std::vector<net::Message> messages;
        for (SpectatorFeed::Outgoing& outgoing : feed.take())
            if (outgoing.spectator == spectator)
                messages.push_back(std::move(outgoing.message));
        return messages;
    }
};

// The steps the messages carry, checked to follow on from `from` without a gap.
std::vector<std::uint16_t> stepsIn(const std::vector<net::Message>& messages, int from) {
    std::vector<std::uint16_t> steps;
    for (const net::Message& message : messages)
        if (const auto* batch = std::get_if<net::Steps>(&message)) {
            EXPECT_EQ(batch->firstStep, from + static_cast<int>(steps.size()));
            steps.insert(steps.end(), batch->steps.begin(), batch->steps.end());
        }
    return steps;
}

} // namespace

// From before the first step: greeted, started at step 0, then every confirmed step once and in
// order, each checksum after the steps before it, and the end on the last step.
TEST(SpectatorFeed, ASpectatorFromTheStartGetsEveryStepThenTheEnd) {
    Feed f;
    f.feed.join(3);
    std::vector<net::Message> all = f.take(3);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(std::get<net::Start>(all[1]).step, 0);
    EXPECT_EQ(std::get<net::Start>(all[1]).lineup, lineup);
    EXPECT_TRUE(std::get<net::Start>(all[1]).state.empty());
    for (int tick = 0; tick < 100; ++tick) {
        f.confirm(tick % 3); // as a rollback session confirms: in bursts, or not at all
        if (tick == 70)      // the host's checksum of the step 60 comes after step 70 was confirmed
            f.feed.checksum(net::Checksum{session, 60, 0x60});
        for (net::Message& message : f.take(3))
            all.push_back(std::move(message));
    }
    f.feed.end(net::QuitReason::Escape, nullptr);
    for (net::Message& message : f.take(3))
        all.push_back(std::move(message));
    EXPECT_TRUE(f.take(3).empty()) << "the end went twice";

    const std::vector<std::uint16_t> steps = stepsIn(all, 0);
    ASSERT_EQ(static_cast<int>(steps.size()), f.steps);
    for (int step = 0; step < f.steps; ++step)
        EXPECT_EQ(steps[step], ReplayFormat::encodeStep(Feed::inputOf(step))) << step;
    const auto checksum = std::find_if(all.begin(), all.end(), [](const net::Message& m) {
        return std::holds_alternative<net::Checksum>(m);
    });
    ASSERT_NE(checksum, all.end());
    EXPECT_GE(stepsIn({all.begin(), checksum}, 0).size(), 60u) << "the checksum came early";
    EXPECT_EQ(std::get<net::Quit>(all.back()).step, f.steps);
}

// One that joins a match under way starts between two messages of steps, from the confirmed
// match before its first step, and gets nothing from before it.
TEST(SpectatorFeed, ALateSpectatorStartsFromTheConfirmedMatch) {
    Feed f;
    f.confirm(40);
    f.take(1);
    f.feed.join(5);
    f.confirm(3);
    EXPECT_TRUE(f.take(5).empty()) << "started in the middle of a message of steps";
    f.confirm(9);
    const std::vector<net::Message> messages = f.take(5);
    ASSERT_EQ(messages.size(), 2u);
    const auto& start = std::get<net::Start>(messages[1]);
    const std::optional<MatchState> state =
        MatchStateCodec::decode(start.state.data(), start.state.size());
    ASSERT_TRUE(state);
    EXPECT_EQ(state->fighters[0].state.health,
              Feed::after(start.step - 1).fighters[0].state.health);
    f.confirm(6);
    EXPECT_EQ(stepsIn(f.take(5), start.step).size(), 6u);
}

// A spectator that reports itself too far behind, or reports nothing while the match goes on,
// is let go; one that keeps up stays.
TEST(SpectatorFeed, ASpectatorTooFarBehindIsLetGo) {
    Feed f;
    for (int id : {1, 2, 3})
        f.feed.join(id);
    f.take(1);
    std::vector<int> letGo;
    int seconds = 0;
    while (letGo.empty() && seconds++ < 20) {
        f.confirm(60);
        f.take(1);
        f.feed.heard(1, net::Watching{session, f.steps - 60});
        f.feed.heard(2, net::Watching{session, 0});
        letGo = f.feed.takeLeftBehind();
    }
    EXPECT_EQ(letGo, (std::vector<int>{2, 3}));
    EXPECT_EQ(seconds, 11); // more than 10 s: 660 steps behind
    EXPECT_EQ(f.feed.watching(), 1);
}

// Before both players have chosen, nobody starts: the fighters are not yet the match's.
TEST(SpectatorFeed, ASpectatorWaitsForThePlayersChoices) {
    SpectatorFeed feed(session, MatchRules{});
    feed.join(1);
    EXPECT_TRUE(feed.take().empty());
    feed.cast(lineup);
    const std::vector<SpectatorFeed::Outgoing> out = feed.take();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(std::get<net::Start>(out[1].message).lineup, lineup);
}
