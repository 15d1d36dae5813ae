#include <algorithm>

#include <benchmark/benchmark.h>

#include "net/MessageCodec.h"
#include "net/NetInput.h"
#include "net/RollbackSession.h"
#include "net/SpectatorFeed.h"
#include "support/BenchEngine.h"
#include "support/SteppedMatch.h"

namespace {

// The worst frame of online play at 150 ms round trip and more: every frame the other side's
// input arrives for the step 8 steps back and differs from the guess (it presses a button),
// so the session rolls back the whole 8 steps, runs them again with the displays held, brings
// the displays in line, and runs the frame's own step. Both fighters punch all the while; the
// health is refilled so the fight never ends.
void BM_NetFrameWithEightStepRollback(benchmark::State& state) {
    SteppedMatch stepped(BenchEngine::app());
    RollbackSession session(*stepped.match, 0, 1, 1);
    const std::uint16_t walking = Direction::Right;
    while (session.step(walking) == RollbackSession::Outcome::Advanced) {
    }
    for (auto _ : state) {
        net::Inputs inputs;
        inputs.session = 1;
        inputs.firstStep = session.remoteFrames();
        inputs.step = inputs.firstStep;
        // The other side waits as long on this one: the time sync keeps still.
        inputs.advantage = MatchTimeline::maxRollback;
        inputs.frames = {static_cast<std::uint16_t>(Direction::Left | NetInput::punchBit)};
        session.receive(inputs);
        session.step(static_cast<std::uint16_t>(walking | NetInput::punchBit));
        for (Player* player : {&stepped.p1(), &stepped.p2()})
            player->state.health = std::max(player->state.health, 500);
    }
    state.counters["rollback"] = session.stats().maxRollback;
    state.counters["rolled back"] = benchmark::Counter(session.stats().rolledBackSteps,
                                                       benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_NetFrameWithEightStepRollback)->Unit(benchmark::kMicrosecond);

// The same worst frame on a host with eight spectators, and every sixth frame (when the steps go
// out to all of them) a ninth joining the match under way: the confirmed step handed on, the
// messages due made and encoded as the link sends them.
void BM_NetFrameWithEightStepRollbackAndSpectators(benchmark::State& state) {
    SteppedMatch stepped(BenchEngine::app());
    RollbackSession session(*stepped.match, 0, 1, 1);
    SpectatorFeed feed(1, MatchRules{});
    feed.cast(Lineup{{{{"sora", 1}, {"sora", 1}}}, {"dojo", 2}});
    for (int id = 0; id < 8; ++id)
        feed.join(id);
    session.onConfirmed = [&feed](int step, const StepInput& input, const MatchState& after) {
        feed.confirmed(step, input, after);
    };
    const std::uint16_t walking = Direction::Right;
    while (session.step(walking) == RollbackSession::Outcome::Advanced) {
    }
    int frame = 0;
    for (auto _ : state) {
        if (++frame % SpectatorFeed::batchSteps == 0) {
            feed.leave(8);
            feed.join(8);
        }
        net::Inputs inputs;
        inputs.session = 1;
        inputs.firstStep = session.remoteFrames();
        inputs.step = inputs.firstStep;
        inputs.advantage = MatchTimeline::maxRollback;
        inputs.frames = {static_cast<std::uint16_t>(Direction::Left | NetInput::punchBit)};
        session.receive(inputs);
        session.step(static_cast<std::uint16_t>(walking | NetInput::punchBit));
        for (const SpectatorFeed::Outgoing& outgoing : feed.take())
            benchmark::DoNotOptimize(MessageCodec::encode(outgoing.message).data());
        for (Player* player : {&stepped.p1(), &stepped.p2()})
            player->state.health = std::max(player->state.health, 500);
    }
    state.counters["watching"] = feed.watching();
}
BENCHMARK(BM_NetFrameWithEightStepRollbackAndSpectators)->Unit(benchmark::kMicrosecond);

} // namespace
