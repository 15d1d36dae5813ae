#include <array>
#include <string>

#include <Ogre.h>
#include <benchmark/benchmark.h>

#include "menu/MenuLayer.h"
#include "menu/MenuPage.h"
#include "support/BenchEngine.h"

namespace {

const std::array<const char*, 7> titleItems = {"Versus",      "Versus the computer", "Training",
                                               "Online",      "Replays",
                                               "Settings",    "Quit"};

// The engine with its scene and viewport, which the menus are drawn over.
Application& engine() {
    Application& app = BenchEngine::app();
    if (!app.getCamera())
        app.createScene();
    return app;
}

// The title's step: the page built from the step's input, the focus moving down a row every
// half second as a player would move it.
void titleStep(MenuLayer& layer, int step) {
    MenuInput input;
    input.keys.set(OIS::KC_DOWN, step % 30 == 0);
    layer.beginStep(input);
    {
        MenuPage page(layer, "title", "VORRAK");
        for (const char* item : titleItems)
            benchmark::DoNotOptimize(page.item(item));
    }
    layer.endStep();
}

// What a menu adds to a logic step: ImGui's frame of the title page, its input and its seven
// rows, without drawing.
void BM_MenuStep(benchmark::State& state) {
    MenuLayer layer(*engine().getWindow());
    int step = 0;
    for (auto _ : state)
        titleStep(layer, ++step);
}
BENCHMARK(BM_MenuStep);

// A whole picture of the title over the scene: the step, then the engine drawing it with the
// menu's vertices...
void BM_MenuPicture(benchmark::State& state) {
    Ogre::Root* root = engine().getRoot();
    MenuLayer layer(*engine().getWindow());
    int step = 0;
    for (auto _ : state) {
        titleStep(layer, ++step);
        root->renderOneFrame();
    }
}
BENCHMARK(BM_MenuPicture)->Unit(benchmark::kMicrosecond);

// ... against the same picture without the menu.
void BM_PictureWithoutMenu(benchmark::State& state) {
    Ogre::Root* root = engine().getRoot();
    for (auto _ : state)
        root->renderOneFrame();
}
BENCHMARK(BM_PictureWithoutMenu)->Unit(benchmark::kMicrosecond);

} // namespace
