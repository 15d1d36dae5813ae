#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include "controllers/Controllers.h"
#include "input/InputSystem.h"
#include "support/FakeKeyboard.h"

namespace {

// A standard pad as SDL's virtual joysticks make one.
SDL_Joystick* attachVirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Virtual pad";
    return SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
}

// One logic step's input as the game samples it: the controllers polled, then the keyboard
// with what they hold. moving: both pads' sticks and a button change every step.
void sampleSteps(benchmark::State& state, int pads, bool moving) {
    FakeKeyboard keyboard;
    InputSystem input(&keyboard);
    Controllers controllers(Bindings::defaults(), [](const std::string&) {});
    std::vector<SDL_Joystick*> joysticks;
    for (int pad = 0; pad < pads; ++pad)
        joysticks.push_back(attachVirtualPad());
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
