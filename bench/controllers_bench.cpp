#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include "controllers/Controllers.h"
#include "input/InputSystem.h"
#include "support/FakeKeyboard.h"
#include "support/attachVirtualPad.h"

namespace {

// One logic step's input as the game samples it: the controllers polled, then the keyboard
// with what they hold. moving: both pads' sticks and a button change every step.
void sampleSteps(benchmark::State& state, int pads, bool moving) {
    FakeKeyboard keyboard;
    InputSystem input(&keyboard);
    Controllers controllers(Bindings::defaults(), [](const std::string&) {});
    std::vector<SDL_Joystick*> joysticks;
    for (int pad = 0; pad < pads; ++pad)
        joysticks.push_back(SDL_JoystickOpen(attachVirtualPad()));
    controllers.poll();
    int step = 0;
    for (auto _ : state) {
        if (moving) {
            for (SDL_Joystick* joystick : joysticks) {
                SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX,
                                           step % 2 ? 30000 : -30000);
                SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, step % 2);
            }
        }
        controllers.poll();
        benchmark::DoNotOptimize(input.sample(controllers.held()));
        ++step;
    }
    for (SDL_Joystick* joystick : joysticks)
        SDL_JoystickClose(joystick);
    while (SDL_NumJoysticks() > 0)
        SDL_JoystickDetachVirtual(0);
}

void BM_SampleStepKeysOnly(benchmark::State& state) {
    FakeKeyboard keyboard;
    InputSystem input(&keyboard);
    for (auto _ : state)
        benchmark::DoNotOptimize(input.sample());
}
BENCHMARK(BM_SampleStepKeysOnly);

void BM_SampleStepNoController(benchmark::State& state) {
    sampleSteps(state, 0, false);
}
BENCHMARK(BM_SampleStepNoController);

void BM_SampleStepTwoControllersAtRest(benchmark::State& state) {
    sampleSteps(state, 2, false);
}
BENCHMARK(BM_SampleStepTwoControllersAtRest);

void BM_SampleStepTwoControllersMoving(benchmark::State& state) {
    sampleSteps(state, 2, true);
}
BENCHMARK(BM_SampleStepTwoControllersMoving);

} // namespace
