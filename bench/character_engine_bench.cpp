#include <memory>

#include <benchmark/benchmark.h>

#include "anim/CharacterData.h"
#include "render/SpriteManager.h"
#include "support/BenchEngine.h"

namespace {

// The copy a fighter takes whenever its action changes; the spinning kick is the longest.
void BM_CharacterData_GetAnimationTatsu(benchmark::State& state) {
    Application& app = BenchEngine::app();
    const SpriteManager sprites(app.getResourceDir() + "/sprites.cfg");
    const CharacterData character;
    for (auto _ : state) {
        FrameAnimation animation = character.getAnimation(PlayerState::Tatsu);
        benchmark::DoNotOptimize(animation);
    }
}
BENCHMARK(BM_CharacterData_GetAnimationTatsu);

} // namespace
