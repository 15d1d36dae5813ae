#include <Ogre.h>
#include <benchmark/benchmark.h>

#include "input/InputPanel.h"
#include "render/DisplayEntity.h"
#include "render/Hud.h"
#include "support/BenchEngine.h"

namespace {

InputFrame frameOf(Direction::eDirection direction, int number) {
    InputFrame frame;
    frame.direction = direction;
    frame.frameNumber = number;
    return frame;
}

// The stick swings between left and right every step: each frame adds a row, drops the oldest
// of a full panel, and the picture puts the new row on top of the caption.
void BM_InputPanelAddFrameAddingRow(benchmark::State& state) {
    BenchEngine::app();
    Hud hud;
    InputDataDisplay* display = hud.getInputDataDisplay(0);
    InputPanel panel;
    panel.setVisible(true);
    int number = 0;
    for (auto _ : state) {
        ++number;
        panel.addFrame(frameOf(number % 2 ? Direction::Left : Direction::Right, number));
        display->show(panel.panel);
    }
    benchmark::DoNotOptimize(panel.panel.rowCount);
}
BENCHMARK(BM_InputPanelAddFrameAddingRow);

// The common step: the input has not changed, so only the count moves.
void BM_InputPanelAddFrameUnchanged(benchmark::State& state) {
    BenchEngine::app();
    Hud hud;
    InputDataDisplay* display = hud.getInputDataDisplay(0);
    InputPanel panel;
    panel.setVisible(true);
    int number = 0;
    for (auto _ : state) {
        ++number;
        panel.addFrame(frameOf(Direction::Right, number));
        display->show(panel.panel);
    }
    benchmark::DoNotOptimize(panel.panel.visibleFrameCount);
}
BENCHMARK(BM_InputPanelAddFrameUnchanged);

// What one fighter's display costs per logic step: position, in-front flag and health.
void BM_FighterDisplayStep(benchmark::State& state) {
    Application& app = BenchEngine::app();
    Hud hud;
    DisplayEntity sprite(app.getSceneManager(), "BenchFighter", hud.getHealthDisplay(0));
    float x = -80;
    int health = 1000;
    for (auto _ : state) {
        x = x < 80 ? x + 0.3f : -80;
        health = health > 0 ? health - 1 : 1000;
        sprite.setSpritePosition(x, 0);
        sprite.setInFront(true);
        sprite.setHealth(health);
    }
}
BENCHMARK(BM_FighterDisplayStep);

} // namespace
