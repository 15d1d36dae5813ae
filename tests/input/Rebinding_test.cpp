#include <random>
#include <set>

#include <gtest/gtest.h>

#include "input/Bindings.h"
#include "input/BindingsFile.h"

namespace {

using Keys = std::vector<OIS::KeyCode>;
using Buttons = std::vector<PadButton::ePadButton>;

class Rebind : public ::testing::Test {
protected:
    const Keys& keys(int player, Control::eControl control) const {
        return bindings.players[player].keys[control];
    }

    Bindings bindings = Bindings::defaults();
};

} // namespace

TEST_F(Rebind, AFreeKeyAloneHoldsTheControlAndTheOldOneIsFree) {
    const Rebinding done = bindings.rebindKey(0, Control::Punch, OIS::KC_U);
    EXPECT_EQ(done.outcome, Rebinding::Bound);
    EXPECT_EQ(done.word, "");
    EXPECT_EQ(keys(0, Control::Punch), Keys{OIS::KC_U});
    EXPECT_EQ(bindings.rebindKey(0, Control::Kick, OIS::KC_J).outcome, Rebinding::Bound);
    EXPECT_EQ(keys(0, Control::Kick), Keys{OIS::KC_J});
}

TEST_F(Rebind, AKeyOfTheSamePlayerSwaps) {
    const Rebinding done = bindings.rebindKey(0, Control::Punch, OIS::KC_K);
    EXPECT_EQ(done.outcome, Rebinding::Swapped);
    EXPECT_EQ(done.word, "K was player 1's kick, which now takes J");
    EXPECT_EQ(keys(0, Control::Punch), Keys{OIS::KC_K});
    EXPECT_EQ(keys(0, Control::Kick), Keys{OIS::KC_J});
}

// The other player's key is refused with a word, and taken only when asked; a control that
// keeps other keys only loses that one.
TEST_F(Rebind, TheOtherPlayersKeyIsRefusedUnlessTaken) {
    const Bindings before = bindings;
    const Rebinding refused = bindings.rebindKey(0, Control::Punch, OIS::KC_NUMPAD1);
    EXPECT_EQ(refused.outcome, Rebinding::Refused);
    EXPECT_EQ(refused.word, "Numpad1 is player 2's punch");
    EXPECT_EQ(BindingsFile::format(bindings), BindingsFile::format(before));

    const Rebinding taken = bindings.rebindKey(0, Control::Punch, OIS::KC_NUMPAD1, true);
    EXPECT_EQ(taken.outcome, Rebinding::Swapped);
    EXPECT_EQ(taken.word, "Numpad1 was player 2's punch, which now takes J");
    EXPECT_EQ(keys(1, Control::Punch), Keys{OIS::KC_J});

    bindings.players[1].keys[Control::Kick] = {OIS::KC_NUMPAD2, OIS::KC_NUMPAD3};
    EXPECT_EQ(bindings.rebindKey(0, Control::Kick, OIS::KC_NUMPAD3, true).word,
              "Numpad3 no longer plays player 2's kick");
    EXPECT_EQ(keys(1, Control::Kick), Keys{OIS::KC_NUMPAD2});
}

TEST_F(Rebind, WhatNoPlayerMayHoldIsRefused) {
    EXPECT_EQ(bindings.rebindKey(0, Control::Up, OIS::KC_ESCAPE).word,
              "Escape is the game's own key");
    EXPECT_EQ(bindings.rebindKey(1, Control::Up, OIS::KC_F7).word, "F7 is the game's own key");
    EXPECT_EQ(bindings.rebindKey(1, Control::Up, OIS::KC_SYSRQ).word, "That key cannot be bound");
    EXPECT_EQ(bindings.rebindButton(1, Control::Up, PadButton::Back).word,
              "Back is the controller's own button");
    // The second player's kick would be left with no key and no button.
    bindings.players[1].buttons[Control::Kick].clear();
    bindings.players[0].keys[Control::Punch].clear();
    const Rebinding lonely = bindings.rebindKey(0, Control::Punch, OIS::KC_NUMPAD2, true);
    EXPECT_EQ(lonely.outcome, Rebinding::Refused);
    EXPECT_EQ(lonely.word, "Numpad2 is the only control of player 2's kick");
    EXPECT_EQ(keys(1, Control::Kick), Keys{OIS::KC_NUMPAD2});
    EXPECT_TRUE(keys(0, Control::Punch).empty());
}

TEST_F(Rebind, AButtonSwapsWithinItsPlayerOnly) {
    const Rebinding done = bindings.rebindButton(0, Control::Punch, PadButton::B);
    EXPECT_EQ(done.word, "B was player 1's kick, which now takes A");
    EXPECT_EQ(bindings.players[0].buttons[Control::Kick], Buttons{PadButton::A});
    EXPECT_EQ(bindings.players[1].buttons[Control::Punch], Buttons{PadButton::A});
    EXPECT_EQ(bindings.rebindButton(0, Control::Up, PadButton::Y).outcome, Rebinding::Bound);
}

// Whatever is pressed for whatever control, no key is held twice, no button twice by one
// player, every control keeps something that holds it, and the file still reads.
TEST_F(Rebind, NothingIsEverBoundTwiceNorAControlLeftEmpty) {
    std::mt19937 random(32);
    const OIS::KeyCode pool[] = {OIS::KC_W,      OIS::KC_S,       OIS::KC_A,      OIS::KC_D,
                                 OIS::KC_J,      OIS::KC_K,       OIS::KC_UP,     OIS::KC_DOWN,
                                 OIS::KC_LEFT,   OIS::KC_RIGHT,   OIS::KC_NUMPAD1, OIS::KC_NUMPAD2,
                                 OIS::KC_U,      OIS::KC_ESCAPE,  OIS::KC_F1,     OIS::KC_SPACE};
    for (int i = 0; i < 5000; ++i) {
        const int player = random() % 2;
        const auto control = static_cast<Control::eControl>(random() % Control::count);
        if (random() % 3 == 0)
            bindings.rebindButton(player, control,
                                  static_cast<PadButton::ePadButton>(random() % PadButton::count));
        else
            bindings.rebindKey(player, control, pool[random() % std::size(pool)], random() % 2);
        std::set<OIS::KeyCode> keysSeen;
        int keyCount = 0;
        for (const PlayerBindings& one : bindings.players) {
            std::set<PadButton::ePadButton> buttonsSeen;
            int buttonCount = 0;
            for (int c = 0; c < Control::count; ++c) {
                ASSERT_FALSE(one.keys[c].empty() && one.buttons[c].empty()) << i;
                keysSeen.insert(one.keys[c].begin(), one.keys[c].end());
                keyCount += static_cast<int>(one.keys[c].size());
                buttonsSeen.insert(one.buttons[c].begin(), one.buttons[c].end());
                buttonCount += static_cast<int>(one.buttons[c].size());
            }
            ASSERT_EQ(buttonsSeen.size(), static_cast<std::size_t>(buttonCount)) << i;
        }
        ASSERT_EQ(keysSeen.size(), static_cast<std::size_t>(keyCount)) << i;
    }
    EXPECT_NO_THROW(BindingsFile::parse(BindingsFile::format(bindings), "b.cfg"));
}
