#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <Ogre.h>

#include "input/InputSystem.h"
#include "menu/MenuLayer.h"
#include "menu/MenuPage.h"
#include "menu/MenuStyle.h"
#include "support/EngineEnvironment.h"
#include "support/FakeKeyboard.h"

namespace {

const std::vector<std::string> titleItems = {"Versus", "Training", "Replays", "Quit"};

// The menus on the real engine, one step and one picture at a time, with the keyboard going
// through the game's input system as in the game.
class MenuPageTest : public ::testing::Test {
protected:
    // One step: the keys given reach the input system as taps, the page is built, and the
    // window draws its pictures (one, as in the game, unless told otherwise).
    void step(const std::function<void(MenuPage&)>& build, int pictures = 1) {
        input.sample();
        MenuInput menuInput;
        menuInput.keys = input.keysDown();
        menuInput.typed = input.typedText();
        menuInput.pads = pads;
        menuInput.pointer = pointer;
        menuInput.time = now;
        now += std::chrono::microseconds(16667);
        layer.beginStep(menuInput);
        {
            MenuPage page(layer, "test", "VORRAK");
            build(page);
            focused = page.focused();
            back = page.back();
        }
        layer.endStep();
        for (int i = 0; i < pictures; ++i)
            EngineEnvironment::renderFrame();
    }

    // The title list for a step; the item chosen in it, or empty.
    std::string titleStep() {
        std::string chosen;
        step([&](MenuPage& page) {
            for (const std::string& item : titleItems)
                if (page.item(item))
                    chosen = item;
        });
        return chosen;
    }

    void tap(OIS::KeyCode key, unsigned int text = 0) {
        keyboard.queuePress(key, text);
        keyboard.queueRelease(key);
    }

    // A tap, then the title list for the step it is seen in and the step after, when a move
    // of the focus shows (ImGui moves it at the start of its next frame); the item chosen.
    std::string tapOnTitle(OIS::KeyCode key) {
        tap(key);
        const std::string chosen = titleStep();
        return chosen + titleStep();
    }

    // Pixels of the focus band's red in row `row` of the list.
    int bandPixels(int row) {
        Ogre::Image image(Ogre::PF_BYTE_RGBA, 800, 600);
        EngineEnvironment::app().getWindow()->copyContentsToMemory(image.getPixelBox(),
                                                                   image.getPixelBox());
        const int top = static_cast<int>(MenuStyle::listTop +
                                          row * (MenuStyle::rowHeight + MenuStyle::rowGap));
        int count = 0;
        for (int y = top; y < top + MenuStyle::rowHeight; ++y)
            for (int x = 170; x < 630; ++x) {
                const Ogre::ColourValue c = image.getColourAt(x, y, 0);
                count += c.r > 0.7f && c.g < 0.25f && c.b < 0.25f;
            }
        return count;
    }

    FakeKeyboard keyboard;
    InputSystem input{&keyboard};
    MenuLayer layer{*EngineEnvironment::app().getWindow()};
    std::array<HeldControls, 2> pads{};
    MenuPointer pointer;
    // The wall clock of the steps: 60 a second unless a test holds it still.
    std::chrono::steady_clock::time_point now{};
    int focused = -1;
    bool back = false;
};

} // namespace

// The first row has the focus at first; Down, S, Up and W move it one row each, and J or
// Enter chooses the row in focus. The picture shows the band on the row in focus alone.
TEST_F(MenuPageTest, KeysMoveTheFocusAndConfirmTheRowInFocus) {
    titleStep();
    EXPECT_EQ(titleStep(), "");
    EXPECT_EQ(focused, 0);
    for (const auto& [key, row] : std::vector<std::pair<OIS::KeyCode, int>>{
             {OIS::KC_DOWN, 1}, {OIS::KC_S, 2}, {OIS::KC_UP, 1}, {OIS::KC_S, 2}, {OIS::KC_W, 1}}) {
        EXPECT_EQ(tapOnTitle(key), "");
        EXPECT_EQ(focused, row);
    }
    EngineEnvironment::screenshot("menu-title");
    EXPECT_GT(bandPixels(1), 5000);
    for (int row : {0, 2, 3})
        EXPECT_LT(bandPixels(row), 50) << row;
    tap(OIS::KC_J);
    EXPECT_EQ(titleStep(), "Training");
    tapOnTitle(OIS::KC_S);
    tap(OIS::KC_RETURN);
    EXPECT_EQ(titleStep(), "Replays");
    EXPECT_FALSE(back);
    tap(OIS::KC_ESCAPE);
    titleStep();
    EXPECT_TRUE(back);
}

// Confirming the field starts the typing, without typing the key that confirmed it, with the
// text selected (typing replaces it, End keeps it); letters then type (J and S among them)
// rather than confirm or move; Escape puts the text back and only ends the typing; Enter ends
// it with the text typed.
TEST_F(MenuPageTest, TheTextFieldTakesTheTypedAddress) {
    std::string address = "host";
    bool entered = false;
    const auto page = [&](MenuPage& page) {
        page.item("Host");
        entered = page.textField("Join", address, 24);
    };
    step(page);
    keyboard.queuePress(OIS::KC_DOWN);
    keyboard.queueRelease(OIS::KC_DOWN);
    step(page);
    step(page);
    ASSERT_EQ(focused, 1);
    tap(OIS::KC_J, 'j');
    step(page);
    EXPECT_TRUE(layer.typing());
    EXPECT_EQ(address, "host");
    tap(OIS::KC_END);
    step(page);
    for (char c : std::string("js.9"))
        tap(OIS::KC_S, static_cast<unsigned char>(c));
    step(page);
    EXPECT_EQ(address, "hostjs.9");
    EXPECT_EQ(focused, 1);
    tap(OIS::KC_ESCAPE);
    step(page);
    EXPECT_FALSE(back);
    EXPECT_FALSE(layer.typing());
    EXPECT_EQ(address, "host");

    tap(OIS::KC_RETURN);
    step(page);
    for (char c : std::string("10.0.0.2:7717"))
        tap(OIS::KC_1, static_cast<unsigned char>(c));
    step(page);
    EngineEnvironment::screenshot("menu-typing");
    EXPECT_FALSE(entered);
    tap(OIS::KC_RETURN);
    step(page);
    EXPECT_TRUE(entered);
    EXPECT_FALSE(layer.typing());
    EXPECT_EQ(address, "10.0.0.2:7717");
}

// The mouse gives the focus to the row it moves onto and chooses the row it clicks; a
// controller's d-pad moves the focus, its punch button chooses and its kick button goes back.
TEST_F(MenuPageTest, TheMouseAndTheControllersDriveTheListToo) {
    titleStep();
    const auto rowCentre = [](int row) {
        return MenuStyle::listTop + row * (MenuStyle::rowHeight + MenuStyle::rowGap) +
               MenuStyle::rowHeight / 2;
    };
    pointer.inside = true;
    pointer.x = 400;
    pointer.y = rowCentre(0);
    titleStep();
    pointer.y = rowCentre(3);
    EXPECT_EQ(titleStep(), "");
    EXPECT_EQ(focused, 3);
    pointer.button = true;
    EXPECT_EQ(titleStep(), "");
    pointer.button = false;
    EXPECT_EQ(titleStep(), "Quit");

    pointer.inside = false;
    pads[1].held[Control::Up] = true;
    titleStep();
    pads[1].held[Control::Up] = false;
    titleStep();
    EXPECT_EQ(focused, 2);
    pads[0].held[Control::Punch] = true;
    EXPECT_EQ(titleStep(), "Replays");
    pads[0].held[Control::Punch] = false;
    pads[1].held[Control::Kick] = true;
    titleStep();
    EXPECT_TRUE(back);
    titleStep();
    EXPECT_FALSE(back);
}

// Left and right step a choice's value, once a tap and repeating while held; confirming it
// steps it forward.
TEST_F(MenuPageTest, LeftAndRightStepAChoice) {
    int level = 5;
    const auto page = [&](MenuPage& page) { level += page.choice("Level", std::to_string(level)); };
    step(page);
    step(page);
    tap(OIS::KC_LEFT);
    step(page);
    EXPECT_EQ(level, 4);
    tap(OIS::KC_D);
    step(page);
    EXPECT_EQ(level, 5);
    tap(OIS::KC_J);
    step(page);
    EXPECT_EQ(level, 6);
    // Held for a second: a step at once, then repeats after a short wait.
    keyboard.press(OIS::KC_RIGHT);
    for (int i = 0; i < 60; ++i)
        step(page);
    keyboard.release(OIS::KC_RIGHT);
    step(page);
    EXPECT_GT(level, 12);
    EXPECT_LT(level, 60);
}

// At 7 pictures a second each picture runs the 8 steps it caught up on at once: a tap seen
// down in all of them moves the focus one row, and a held key repeats by the wall clock as it
// does at 60.
TEST_F(MenuPageTest, AtSevenPicturesASecondOneTapIsOneRow) {
    const auto slowPicture = [&](bool down) {
        down ? keyboard.press(OIS::KC_DOWN) : keyboard.release(OIS::KC_DOWN);
        for (int catchUp = 0; catchUp < 8; ++catchUp) {
            titleStep();
            now -= std::chrono::microseconds(16667);
        }
        now += std::chrono::milliseconds(143);
    };
    titleStep();
    slowPicture(true);
    slowPicture(false);
    EXPECT_EQ(focused, 1);
    // Held over 4 pictures (0.57 s): a press, then one repeat.
    for (int picture = 0; picture < 4; ++picture)
        slowPicture(true);
    slowPicture(false);
    EXPECT_EQ(focused, 3);
}

// A step whose picture is not drawn (a hidden window) or is drawn twice (an exposed one), and a
// layer hidden and shown again, all go on as before.
TEST_F(MenuPageTest, StepsWithoutAPictureOrWithTwoGoOn) {
    const auto title = [](MenuPage& page) {
        for (const std::string& item : titleItems)
            page.item(item);
    };
    step(title, 0);
    step(title, 2);
    layer.hide();
    EngineEnvironment::renderFrame();
    EXPECT_LT(bandPixels(0), 50);
    step(title);
    EXPECT_EQ(focused, 0);
    EXPECT_GT(bandPixels(0), 5000);
}
