#pragma once

#include <memory>
#include <string>

#include "fighter/Player.h"
#include "match/Game.h"
#include "match/Match.h"
#include "support/InputFrames.h"
#include "support/testFighters.h"

// Two fighters of the roster by name in a match of the plain rules, placed where a test wants
// them, stepped with one input each.
class Duel {
public:
    Duel(const std::string& left, const std::string& right)
        : Duel(testRoster().loadFighter(left), testRoster().loadFighter(right)) {}
    Duel(std::shared_ptr<const CharacterData> left, std::shared_ptr<const CharacterData> right)
        : game(std::make_unique<Game>(std::move(left), std::move(right))), match(*game) {
        match.start(MatchRules{});
    }

    void place(float x1, float x2) {
        p1().state.position.x = x1;
        p2().state.position.x = x2;
        p1().setFacing(x2 < x1);
        p2().setFacing(x1 <= x2);
    }
    void step(const InputFrame& first = frameOf(Direction::Neutral),
              const InputFrame& second = frameOf(Direction::Neutral)) {
        StepInput input;
        input.players[0] = first;
        input.players[1] = second;
        match.step(input);
    }
    void idle(int steps) {
        for (int i = 0; i < steps; ++i)
            step();
    }

    Player& p1() { return *game->player1; }
    Player& p2() { return *game->player2; }

    std::unique_ptr<Game> game;
    Match match;
};
