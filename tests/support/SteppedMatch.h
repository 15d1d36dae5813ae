#pragma once

#include <memory>

#include "app/Application.h"
#include "app/Game.h"
#include "app/MatchTick.h"
#include "fighter/Player.h"
#include "input/PlayerInputReader.h"
#include "render/SpriteManager.h"
#include "support/FakeKeyboard.h"

// A whole match on a started engine, stepped by hand: the sprite library, the Game with both
// fighters, both key readers on one test keyboard and the real match tick. A step is what the
// game's logic step does once the keyboard is captured: the readers, then the tick. Used by
// the scenario tests and the benchmarks; tears everything down again, so a new one can follow.
class SteppedMatch {
public:
    explicit SteppedMatch(Application& app);
    ~SteppedMatch();

    SteppedMatch(const SteppedMatch&) = delete;
    SteppedMatch& operator=(const SteppedMatch&) = delete;

    void step();

    Player& p1() { return *game->player1; }
    Player& p2() { return *game->player2; }

    FakeKeyboard keyboard;
    std::unique_ptr<SpriteManager> spriteManager;
    std::unique_ptr<Game> game;

private:
    std::unique_ptr<PlayerInputReader> reader1;
    std::unique_ptr<PlayerInputReader> reader2;
    std::unique_ptr<MatchTick> matchTick;
};
