#pragma once

#include <gtest/gtest.h>

#include "render/DisplayEntity.h"
#include "support/SteppedMatch.h"

// A fresh match on the real engine for every test, stepped by hand.
class MatchFixture : public ::testing::Test {
protected:
    MatchFixture();

    // Runs n logic steps with the keys as they are held now.
    void step(int n = 1);
    // Presses a key for exactly one step, then lets it go.
    void tap(OIS::KeyCode key);
    // Puts the fighters on the fight line and lets one step turn them towards each other.
    void place(float x1, float x2);

    Player& p1() { return match.p1(); }
    Player& p2() { return match.p2(); }
    // A fighter's sprite on the screen.
    const DisplayEntity& display(int side) const { return match.view->fighter(side); }

    SteppedMatch match;
    FakeKeyboard& keyboard;
    Game* const game;
};
