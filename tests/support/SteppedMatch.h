#pragma once

#include <memory>

#include "app/Application.h"
#include "fighter/Player.h"
#include "input/PlayerInputReader.h"
#include "match/Game.h"
#include "match/Match.h"
#include "render/MatchView.h"
#include "render/SpriteManager.h"
#include "roster/Lineup.h"
#include "support/FakeKeyboard.h"

// A whole match on a started engine, stepped by hand: the sprite library, the Game with the
// default fighter on both sides, both key readers on one test keyboard, the real match and its
// view, which draws it before each picture of the application's window (or when shown). A step
// is what the game's logic step does once the keyboard is captured: the readers make the step's
// input and the match takes it. Used by the scenario tests and the benchmarks; tears everything
// down again, so a new one can follow.
class SteppedMatch {
public:
    explicit SteppedMatch(Application& app);
    // The fighters and the stage a recording names, from the application's media folder.
    SteppedMatch(Application& app, const Lineup& lineup);
    ~SteppedMatch();

    SteppedMatch(const SteppedMatch&) = delete;
    SteppedMatch& operator=(const SteppedMatch&) = delete;

    // Each step is shown, as the game shows every step it runs.
    void step();
    // One step on input given as data, as a replay or the network gives it.
    bool step(const StepInput& input);
    // The screen brought in line with the match, as before a picture.
    void show() { view->show(); }

    Player& p1() { return *game->player1; }
    Player& p2() { return *game->player2; }
    // What a recording of it names.
    Lineup lineup() const;

    FakeKeyboard keyboard;
    Application& app;
    std::unique_ptr<SpriteManager> spriteManager;
    std::unique_ptr<Game> game;
    std::unique_ptr<Match> match;
    std::unique_ptr<MatchView> view;

private:
    Lineup::Entry stage;
    PlayerInputReader reader1{&keyboard, false};
    PlayerInputReader reader2{&keyboard, true};
};
