#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "app/Game.h"
#include "app/MatchTick.h"
#include "fighter/Player.h"
#include "input/PlayerInputReader.h"
#include "render/SpriteManager.h"
#include "support/FakeKeyboard.h"

// A whole match on the real engine, stepped by hand: the sprite library, the Game with both
// fighters, both key readers on one test keyboard and the real match tick. Each logic step is
// what the game's step does after the keyboard was captured: the readers, then the tick.
class MatchFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs n logic steps with the keys as they are held now.
    void step(int n = 1);
    // Presses a key for exactly one step, then lets it go.
    void tap(OIS::KeyCode key);
    // Puts the fighters on the fight line and lets one step turn them towards each other.
    void place(float x1, float x2);

    Player& p1() { return *game->player1; }
    Player& p2() { return *game->player2; }

    FakeKeyboard keyboard;
    std::unique_ptr<SpriteManager> spriteManager;
    std::unique_ptr<Game> game;
    std::unique_ptr<PlayerInputReader> reader1;
    std::unique_ptr<PlayerInputReader> reader2;
    std::unique_ptr<MatchTick> matchTick;
};
