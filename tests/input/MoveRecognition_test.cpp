#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "input/InputHistory.h"
#include "input/MoveInput.h"
#include "support/InputFrames.h"

namespace {

using Direction::eDirection;

// A command whose last step accepts two directions, to tell the run of the direction found
// from a run of any accepted direction.
MoveInput twoDirectionMove() {
    MoveInput move;
    move.setButton(1);
    move.addComponent(MoveComponent({Direction::DownLeft}, 1));
    move.addComponent(MoveComponent({Direction::Down, Direction::DownLeft}, 3));
    return move;
}

// The same direction twice: one held run must not count for both steps.
MoveInput repeatedStepMove() {
    MoveInput move;
    move.setButton(1);
    move.addComponent(MoveComponent({Direction::DownLeft}, 4));
    move.addComponent(MoveComponent({Direction::DownLeft}, 2));
    return move;
}

MoveInput zeroWindowMove() {
    MoveInput move;
    move.setButton(1);
    move.addComponent(MoveComponent({Direction::Down}, 0));
    move.addComponent(MoveComponent({Direction::DownLeft}, 1));
    return move;
}

// Frames written oldest first as numpad digits: "2 1x10 4*" is down, ten down-backs, then back
// with a new press of the second button ('*'); '+' marks a new press of the first button.
std::vector<InputFrame> framesOf(const std::string& text) {
    std::vector<InputFrame> frames;
    std::istringstream tokens(text);
    std::string token;
    while (tokens >> token) {
        InputFrame frame;
        frame.direction = static_cast<eDirection>(token[0] - '1');
        int count = 1;
        for (std::size_t i = 1; i < token.size(); ++i) {
            if (token[i] == '*')
                frame.pressed[1] = true;
            else if (token[i] == '+')
                frame.pressed[0] = true;
            else if (token[i] == 'x')
                count = std::stoi(token.substr(i + 1));
        }
        frames.insert(frames.end(), count, frame);
    }
    return frames;
}

InputHistory historyOf(const std::vector<InputFrame>& oldestFirst) {
    InputHistory history(60);
    for (const InputFrame& frame : oldestFirst)
        history.push(frame);
    return history;
}

std::vector<InputFrame> mirroredFrames(std::vector<InputFrame> frames) {
    for (InputFrame& frame : frames)
        frame.direction = mirrorDirection(frame.direction, true);
    return frames;
}

bool sameFrames(const InputHistory& a, const InputHistory& b) {
    if (a.frameCounter != b.frameCounter || a.frames.size() != b.frames.size())
        return false;
    for (auto x = a.begin(), y = b.begin(); x != a.end(); ++x, ++y) {
        if (x->direction != y->direction || x->pressed[0] != y->pressed[0] ||
            x->pressed[1] != y->pressed[1] || x->frameNumber != y->frameNumber)
            return false;
    }
    return true;
}

struct MotionCase {
    const char* frames;
    bool facingLeft;
    bool expected;
    MoveInput (*move)();
};

TEST(MoveRecognition, MotionExamplesForAFighterFacingEitherWay) {
    const MotionCase cases[] = {
        {"2 1 4*", false, true, specialMove},
        {"2 2 2 1 1 4 4*", false, true, specialMove},
        // The press must be new in the newest frame, and of the command's button.
        {"2 1 4", false, false, specialMove},
        {"2 1* 4", false, false, specialMove},
        {"2 1 4+", false, false, specialMove},
        // The last step is counted from the press: back must be among the newest ten frames.
        {"2 1 4 5x8 5*", false, true, specialMove},
        {"2 1 4 5x9 5*", false, false, specialMove},
        {"2 1 4 5*", false, true, specialMove},
        // Each older step is counted from the frame just older than the newer step's run.
        {"2 5x7 1 4*", false, true, specialMove},
        {"2 5x8 1 4*", false, false, specialMove},
        // A run longer than its window: its rest is skipped on the older step's budget.
        {"2 1x10 4*", false, true, specialMove},
        {"2 1x15 4*", false, true, specialMove},
        {"2 1x16 4*", false, false, specialMove},
        {"2 1 4x17*", false, true, specialMove},
        {"2 1 4x18*", false, false, specialMove},
        // Every step has to be found, however many older occurrences are tried.
        {"5 1 5 1 4*", false, false, specialMove},
        {"4 5 4 5 4*", false, false, specialMove},
        // An older occurrence within the rest of a budget is tried when the nearer one fails,
        // at the down-back step and at the back step...
        {"2 5x5 1 4 5 1 4*", false, true, specialMove},
        {"2 5x5 1 4 5x6 1 4*", false, true, specialMove},
        // ...but only within what is left of that budget.
        {"2 1 4 5x8 1 4*", false, false, specialMove},
        // A fighter facing left enters the command towards its own back.
        {"2 3 6*", true, true, specialMove},
        {"2 1 4*", true, false, specialMove},
        // Only the run of the direction found is consumed, not of any accepted direction.
        {"5 1 2 2*", false, true, twoDirectionMove},
        // The rest of a run cut short by the newer step's window is skipped, not taken as the
        // older step.
        {"1 1 1*", false, false, repeatedStepMove},
        {"1 5 1 1 1*", false, true, repeatedStepMove},
        // A step with an empty window admits no frame, even after a cut-short run.
        {"2 1 1*", false, false, zeroWindowMove},
    };
    for (const MotionCase& c : cases) {
        const MoveInput move = c.move();
        const std::vector<InputFrame> frames = framesOf(c.frames);
        EXPECT_EQ(historyOf(frames).matches(&move, c.facingLeft), c.expected)
            << "\"" << c.frames << "\" facing " << (c.facingLeft ? "left" : "right");
        EXPECT_EQ(historyOf(mirroredFrames(frames)).matches(&move, !c.facingLeft), c.expected)
            << "mirrored \"" << c.frames << "\" facing " << (c.facingLeft ? "right" : "left");
    }
}

// A press that completed the motion spends it, whether or not its move could start; one that
// completed nothing spends nothing. The loop that spun nearly all the time pressed again 3 steps
// after a press made while the fighter could not act.
TEST(MoveRecognition, APressSpendsTheMotionItCompleted) {
    const struct {
        const char* frames;
        bool unspent;
    } cases[] = {
        {"2 2 1 1 4* 5 5 5*", false}, {"2 1 4* 5* 5*", false}, {"2 1 4* 2 1 4*", true},
        {"2 5* 1 4*", true},          {"2 1 4 5 5 5*", true},
    };
    const MoveInput move = specialMove();
    for (const auto& c : cases) {
        const InputHistory history = historyOf(framesOf(c.frames));
        EXPECT_TRUE(history.matches(&move, false)) << c.frames;
        EXPECT_EQ(history.matchesUnspent(&move, false), c.unspent) << c.frames;
        EXPECT_EQ(historyOf(mirroredFrames(framesOf(c.frames))).matchesUnspent(&move, true),
                  c.unspent)
            << c.frames << " facing left";
    }
}

TEST(MoveRecognition, MirroringACommandSwapsItsSidesOnly) {
    const MoveInput move = specialMove();
    const MoveInput unchanged = move.mirrored(false);
    const MoveInput mirrored = move.mirrored(true);
    ASSERT_EQ(mirrored.components.size(), 3u);
    EXPECT_EQ(mirrored.button, 1);
    const std::set<eDirection> expected[] = {
        {Direction::Down}, {Direction::DownRight}, {Direction::Right}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(unchanged.components[i].directions, move.components[i].directions);
        EXPECT_EQ(unchanged.components[i].window, move.components[i].window);
        EXPECT_EQ(mirrored.components[i].directions, expected[i]);
        EXPECT_EQ(mirrored.components[i].window, move.components[i].window);
    }
}

// Random histories made of runs of the command's directions and a few others, often ending in
// the command itself with runs and gaps of random lengths around its windows, and with the
// newest frame pressed most of the time, so that both answers come up often.
std::vector<InputFrame> randomFrames(std::mt19937& random) {
    const eDirection pool[] = {Direction::Down,    Direction::DownLeft, Direction::Left,
                               Direction::Neutral, Direction::Right,    Direction::DownRight,
                               Direction::Up,      Direction::UpLeft};
    std::uniform_int_distribution<int> pick(0, 7);
    std::uniform_int_distribution<int> runLength(1, 12);
    std::uniform_int_distribution<int> gapLength(0, 5);
    std::bernoulli_distribution press(0.1);
    std::vector<InputFrame> frames;
    auto addRun = [&](eDirection direction, int length) {
        InputFrame frame;
        frame.direction = direction;
        for (; length > 0; --length) {
            frame.pressed[0] = press(random);
            frame.pressed[1] = press(random);
            frames.push_back(frame);
        }
    };
    while (frames.size() < 40)
        addRun(pool[pick(random)], runLength(random));
    if (std::bernoulli_distribution(0.6)(random)) {
        for (eDirection direction : {Direction::Down, Direction::DownLeft, Direction::Left}) {
            addRun(direction, runLength(random));
            addRun(pool[pick(random)], gapLength(random));
        }
    }
    frames.back().pressed[1] = std::bernoulli_distribution(0.8)(random);
    return frames;
}

TEST(MoveRecognitionProperties, MirroredHistoryFacingLeftAnswersAsTheOriginalFacingRight) {
    std::mt19937 random(20240601);
    const MoveInput moves[] = {specialMove(), twoDirectionMove()};
    int matched = 0;
    int rejected = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::vector<InputFrame> frames = randomFrames(random);
        const InputHistory original = historyOf(frames);
        const InputHistory mirrored = historyOf(mirroredFrames(frames));
        for (const MoveInput& move : moves) {
            const bool expected = original.matches(&move, false);
            ASSERT_EQ(mirrored.matches(&move, true), expected) << "history " << i;
            ++(expected ? matched : rejected);
        }
    }
    // Both answers must have come up for the property to say anything.
    EXPECT_GT(matched, 500);
    EXPECT_GT(rejected, 500);
}

TEST(MoveRecognitionProperties, MatchingChangesNeitherTheHistoryNorTheCommand) {
    std::mt19937 random(7);
    const MoveInput reference = specialMove();
    for (int i = 0; i < 500; ++i) {
        const std::vector<InputFrame> frames = randomFrames(random);
        const InputHistory untouched = historyOf(frames);
        InputHistory history = historyOf(frames);
        MoveInput move = specialMove();
        for (bool facingLeft : {false, true})
            history.matches(&move, facingLeft);
        ASSERT_TRUE(sameFrames(history, untouched)) << "history " << i;
        ASSERT_EQ(move.button, reference.button);
        for (std::size_t c = 0; c < move.components.size(); ++c) {
            ASSERT_EQ(move.components[c].directions, reference.components[c].directions);
            ASSERT_EQ(move.components[c].window, reference.components[c].window);
        }
    }
}

} // namespace
