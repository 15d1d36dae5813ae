// A replay's step on the real engine as the viewer sees it: with the recording's own displays
// (one run of the step), and with the viewer's panels and boxes shown over a recording that
// hides them (the step runs as recorded with the screen held, then for the screen).
#include <benchmark/benchmark.h>

#include "replay/ReplayView.h"
#include "support/BenchEngine.h"
#include "support/RandomInputs.h"
#include "support/SteppedMatch.h"

namespace {

void BM_ReplayStepViewersDisplays(benchmark::State& state) {
    SteppedMatch fight(BenchEngine::app());
    ReplayView view(*fight.match);
    if (state.range(0) == 1) {
        ProgramKeys shown;
        shown.showInputPanels = shown.showHitboxes = true;
        view.switchDisplays(shown);
    }
    RandomInputs inputs(7);
    for (auto _ : state) {
        StepInput recorded = inputs.next(view.recordedState());
        recorded.keys = ProgramKeys{};
        view.step(recorded);
    }
}
BENCHMARK(BM_ReplayStepViewersDisplays)->ArgName("switched")->Arg(0)->Arg(1);

} // namespace
