#include <memory>

#include <benchmark/benchmark.h>

#include "anim/CharacterData.h"
#include "support/testFighters.h"

namespace {

// The copy a fighter takes whenever its action changes; the spinning kick is the longest.
void BM_CharacterData_GetAnimationTatsu(benchmark::State& state) {
    const std::shared_ptr<const CharacterData> character = defaultFighter();
    for (auto _ : state) {
        FrameAnimation animation = character->getAnimation(PlayerState::Tatsu);
        benchmark::DoNotOptimize(animation);
    }
}
BENCHMARK(BM_CharacterData_GetAnimationTatsu);

} // namespace
