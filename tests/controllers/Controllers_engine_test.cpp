#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "controllers/Controllers.h"
#include "input/InputSystem.h"
#include "support/EngineEnvironment.h"
#include "support/SteppedMatch.h"
#include "support/attachVirtualPad.h"

namespace {

// A virtual game controller, plugged in on creation; unplug() pulls it out.
class VirtualPad {
public:
    VirtualPad() { plugIn(); }
    ~VirtualPad() { unplug(); }

    void plugIn() {
        const int index = attachVirtualPad();
        ASSERT_GE(index, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(index);
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
    }
    void unplug() {
        if (!joystick)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
        }
    }
    void button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
    }
    void stick(int x, int y) {
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
    }

private:
    SDL_Joystick* joystick = nullptr;
};

// The real match stepped as the game steps it: the controllers polled, then the keyboard
// (a test keyboard) sampled with what they hold.
class ControllersTest : public ::testing::Test {
protected:
    StepInput step(int n = 1) {
        StepInput input;
        for (int i = 0; i < n; ++i) {
            controllers.poll();
            input = this->input.sample(controllers.held());
            match.step(input);
        }
        return input;
    }
    StepInput tap(VirtualPad& pad, SDL_GameControllerButton button) {
        pad.button(button, true);
        const StepInput input = step();
        pad.button(button, false);
        return input;
    }
    void place(float x1, float x2) {
        match.p1().state.position.x = x1;
        match.p2().state.position.x = x2;
        step();
    }
    bool logged(const std::string& text) const {
        for (const std::string& line : log) {
            if (line.find(text) != std::string::npos)
                return true;
        }
        return false;
    }

    SteppedMatch match{EngineEnvironment::app()};
    InputSystem input{&match.keyboard};
    std::vector<std::string> log;
    Controllers controllers{Bindings::defaults(),
                            [this](const std::string& line) { log.push_back(line); }};
};

TEST_F(ControllersTest, APunchAndASpinningKickFromAPadLand) {
    VirtualPad pad;
    place(0, 60);
    EXPECT_EQ(controllers.playing(0), "Virtual pad");
    tap(pad, SDL_CONTROLLER_BUTTON_A);
    step(20);
    EXPECT_EQ(match.p2().state.health, 950);

    step(100);
    place(0, 0);
    // Down, down-back, back on the stick, then the right face button.
    for (const auto& [x, y] : {std::pair{0, 32767}, {-23000, 23000}, {-32768, 0}}) {
        pad.stick(x, y);
        step(2);
    }
    tap(pad, SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(match.p1().state.action, PlayerState::Tatsu);
    pad.stick(0, 0);
    step(2);
    EXPECT_EQ(match.p2().state.health, 930);
}

TEST_F(ControllersTest, TheStickRestsInItsDeadZoneAndGivesDiagonals) {
    VirtualPad pad;
    const std::pair<std::pair<int, int>, Direction::eDirection> cases[] = {
        {{6000, -5000}, Direction::Neutral},
        {{20000, -20000}, Direction::UpRight},
        {{-20000, 20000}, Direction::DownLeft},
        {{32767, -9000}, Direction::Right},
        {{-3000, -30000}, Direction::Up}};
    for (const auto& [xy, direction] : cases) {
        pad.stick(xy.first, xy.second);
        EXPECT_EQ(step().players[0].direction, direction) << xy.first << ", " << xy.second;
    }
}

TEST_F(ControllersTest, APressBetweenTwoStepsCountsOnceAndAddsToTheKeys) {
    VirtualPad pad;
    step();
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    SDL_JoystickUpdate();
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_TRUE(step().players[0].pressed[0]);
    EXPECT_FALSE(step().players[0].pressed[0]);

    // Held on the pad and then on the key too: still one press.
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(step().players[0].pressed[0]);
    match.keyboard.press(OIS::KC_J);
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_FALSE(step().players[0].pressed[0]);
    match.keyboard.press(OIS::KC_D);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    EXPECT_EQ(step().players[0].direction, Direction::DownRight);
}

TEST_F(ControllersTest, TwoPadsPlayTwoPlayersAndBackSwapsThem) {
    VirtualPad first;
    VirtualPad second;
    first.stick(32767, 0);
    second.button(SDL_CONTROLLER_BUTTON_A, true);
    StepInput input = step();
    EXPECT_EQ(input.players[0].direction, Direction::Right);
    EXPECT_FALSE(input.players[0].pressed[0]);
    EXPECT_EQ(input.players[1].direction, Direction::Neutral);
    EXPECT_TRUE(input.players[1].pressed[0]);

    tap(first, SDL_CONTROLLER_BUTTON_BACK);
    input = step();
    EXPECT_EQ(input.players[0].direction, Direction::Neutral);
    EXPECT_EQ(input.players[1].direction, Direction::Right);
}

TEST_F(ControllersTest, APadUnpluggedInAMatchLeavesTheKeysAndPlaysAgainWhenBack) {
    VirtualPad pad;
    place(0, 60);
    pad.stick(-32768, 0);
    step(10);
    const float walked = match.p1().state.position.x;
    EXPECT_LT(walked, 0);

    pad.unplug();
    step();
    EXPECT_TRUE(logged("of player 1 was unplugged: player 1 plays on with the keys"));
    EXPECT_EQ(controllers.playing(0), "");
    step(5);
    EXPECT_EQ(match.p1().state.position.x, walked) << "the stick let go with the controller";
    match.keyboard.press(OIS::KC_J);
    step(21);
    EXPECT_EQ(match.p2().state.health, 950);
    match.keyboard.release(OIS::KC_J);

    step(100);
    // Without a controller the game looks for one four times a second.
    pad.plugIn();
    step(15);
    EXPECT_EQ(controllers.playing(0), "Virtual pad");
    tap(pad, SDL_CONTROLLER_BUTTON_A);
    step(20);
    EXPECT_EQ(match.p2().state.health, 900);
}

} // namespace

// The settings screen's view of a pad: the button pressed since the step before, on its
// player's seat; bound there to the punch, it punches from the next step on.
TEST_F(ControllersTest, AButtonPressedIsToldAndPunchesOnceBound) {
    VirtualPad pad;
    step();
    tap(pad, SDL_CONTROLLER_BUTTON_Y);
    EXPECT_EQ(controllers.pressed()[0], std::bitset<PadButton::count>().set(PadButton::Y));
    EXPECT_TRUE(controllers.pressed()[1].none());
    step();
    EXPECT_TRUE(controllers.pressed()[0].none());

    Bindings bindings = Bindings::defaults();
    bindings.rebindButton(0, Control::Punch, PadButton::Y);
    controllers.rebind(bindings);
    EXPECT_TRUE(tap(pad, SDL_CONTROLLER_BUTTON_Y).players[0].pressed[0]);
    EXPECT_FALSE(tap(pad, SDL_CONTROLLER_BUTTON_A).players[0].pressed[0]);
}
