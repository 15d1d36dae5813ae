#pragma once

#include <cstdint>
#include <deque>
#include <random>

#include "input/StepInput.h"
#include "match/MatchState.h"

// Seeded random play for both players, as a test or benchmark needs it: walking mostly towards
// the other fighter (so it looks at the match) so they meet, blocking, punches, spinning-kick commands entered in full, and
// now and then the debug display keys. The same seed gives the same steps in every run.
class RandomInputs {
public:
    explicit RandomInputs(std::uint32_t seed) : random(seed) {}

    StepInput next(const MatchState& match) {
        const bool firstOnTheLeft =
            match.fighters[0].state.position.x <= match.fighters[1].state.position.x;
        StepInput input;
        for (int player = 0; player < 2; ++player)
            input.players[player] = nextFor(player, (player == 0) == firstOnTheLeft ? 1 : -1);
        const std::uint32_t key = below(400);
        input.keys.hideDebugDisplays = key == 0;
        input.keys.showInputPanels = key == 1;
        input.keys.showHitboxes = key == 2;
        return input;
    }

private:
    // forward: +1 when the player's fighter stands on the left, -1 on the right.
    InputFrame nextFor(int player, int forward) {
        std::deque<InputFrame>& plan = plans[player];
        if (plan.empty())
            planFor(forward, plan);
        const InputFrame frame = plan.front();
        plan.pop_front();
        return frame;
    }

    void planFor(int forward, std::deque<InputFrame>& plan) {
        const std::uint32_t choice = below(100);
        if (choice < 40)
            hold(plan, encodeDirection(forward, below(4) == 0 ? -1 : 0), 5 + below(25));
        else if (choice < 55)
            hold(plan, encodeDirection(-forward, below(2) == 0 ? -1 : 0), 5 + below(25));
        else if (choice < 65)
            hold(plan, Direction::Neutral, 1 + below(20));
        else if (choice < 85)
            press(plan, static_cast<Direction::eDirection>(below(9)), 0);
        else
            spinningKick(plan, forward);
    }

    // Down, down-back, back, then the kick button, each held for a step or a few.
    void spinningKick(std::deque<InputFrame>& plan, int forward) {
        hold(plan, Direction::Down, 1 + below(4));
        hold(plan, encodeDirection(-forward, -1), 1 + below(4));
        hold(plan, encodeDirection(-forward, 0), below(4));
        press(plan, encodeDirection(-forward, 0), 1);
    }

    static void hold(std::deque<InputFrame>& plan, Direction::eDirection direction,
                     std::uint32_t steps) {
        InputFrame frame;
        frame.direction = direction;
        plan.insert(plan.end(), steps, frame);
    }

    static void press(std::deque<InputFrame>& plan, Direction::eDirection direction, int button) {
        InputFrame frame;
        frame.direction = direction;
        frame.pressed[button] = true;
        plan.push_back(frame);
    }

    // The generator's raw output only: the standard distributions differ between libraries.
    std::uint32_t below(std::uint32_t bound) { return random() % bound; }

    std::mt19937 random;
    std::deque<InputFrame> plans[2];
};
