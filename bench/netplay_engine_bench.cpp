#include <algorithm>

#include <benchmark/benchmark.h>

#include "net/NetInput.h"
#include "net/RollbackSession.h"
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

} // namespace
