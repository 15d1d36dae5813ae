#include <memory>

#include <gtest/gtest.h>

#include "anim/CharacterData.h"
#include "input/InputHistory.h"
#include "support/testFighters.h"

namespace {

// What one frame of an attack shows and can do.
struct Frame {
    std::string sprite;
    bool attackBox;
    bool activeHit;
};

Frame frameOf(const FrameAnimation& animation) {
    return {defaultFighter()->spriteName(animation.currentSprite()),
            !animation.currentHitboxes()->attackBoxes.empty(), animation.currentHitProps()->active};
}

// Expands rows of (first frame, last frame, sprite, attack box, active hit) into frames.
struct Row {
    int first, last;
    const char* sprite;
    bool attackBox, activeHit;
};
std::vector<Frame> expand(std::initializer_list<Row> rows) {
    std::vector<Frame> frames;
    for (const Row& row : rows) {
        for (int f = row.first; f <= row.last; ++f)
            frames.push_back({row.sprite, row.attackBox, row.activeHit});
    }
    return frames;
}

class CharacterDataTest : public ::testing::Test {
protected:
    // Plays an attack from its copy and checks every frame, the step that finishes it and
    // what the other tracks show on that step.
    void expectFrames(PlayerState::Action action, const std::vector<Frame>& expected,
                      const Frame& onFinishingStep) {
        FrameAnimation animation = character->getAnimation(action);
        for (std::size_t f = 0; f < expected.size(); ++f) {
            SCOPED_TRACE("frame " + std::to_string(f));
            if (f > 0)
                animation.step();
            const Frame actual = frameOf(animation);
            ASSERT_EQ(actual.sprite, expected[f].sprite);
            ASSERT_EQ(actual.attackBox, expected[f].attackBox);
            ASSERT_EQ(actual.activeHit, expected[f].activeHit);
            ASSERT_FALSE(animation.isFinished());
        }
        animation.step();
        EXPECT_TRUE(animation.isFinished()) << "finishes on step " << expected.size();
        const Frame last = frameOf(animation);
        EXPECT_EQ(last.sprite, onFinishingStep.sprite);
        EXPECT_EQ(last.attackBox, onFinishingStep.attackBox);
        EXPECT_EQ(last.activeHit, onFinishingStep.activeHit);
    }

    // The default fighter, from its file.
    const std::shared_ptr<const CharacterData> character = defaultFighter();
};

} // namespace

TEST_F(CharacterDataTest, ThePunchFrameByFrame) {
    expectFrames(PlayerState::HP,
                 expand({{0, 14, "HP1", false, false},
                         {15, 34, "HP2", true, true},
                         {35, 54, "HP3", false, false}}),
                 {"HP3", false, false});
}

TEST_F(CharacterDataTest, TheSpinningKickFrameByFrame) {
    expectFrames(PlayerState::Tatsu,
                 expand({{0, 9, "Tatsu1", true, true},
                         {10, 19, "Tatsu2", false, false},
                         {20, 29, "Tatsu3", true, true},
                         {30, 39, "Tatsu4", false, false},
                         {40, 49, "Tatsu1", true, true},
                         {50, 59, "Tatsu2", false, false},
                         {60, 69, "Tatsu3", true, true},
                         {70, 79, "Tatsu4", false, false},
                         {80, 89, "Tatsu1", true, true}}),
                 // The boxes move on to Standing; the hit properties wrap to the first kick's.
                 {"Tatsu1", false, true});
}

TEST_F(CharacterDataTest, TheKicksAlternateFrontAndBackWithTheirOwnStrength) {
    FrameAnimation tatsu = character->getAnimation(PlayerState::Tatsu);
    std::vector<float> kickLefts;
    std::vector<int> hitStuns;
    for (int f = 0; f < 90; ++f) {
        if (f > 0)
            tatsu.step();
        if (f % 20 == 0) {
            kickLefts.push_back(tatsu.currentHitboxes()->attackBoxes.at(0).left);
            hitStuns.push_back(tatsu.currentHitProps()->hitStun);
        }
    }
    EXPECT_EQ(kickLefts, (std::vector<float>{30, -70, 30, -70, 30}));
    EXPECT_EQ(hitStuns, (std::vector<int>{40, 40, 40, 20, 20}));
}

TEST_F(CharacterDataTest, StandingActionsLoopForeverAndMoveAsTheyShould) {
    const std::pair<PlayerState::Action, float> actions[] = {
        {PlayerState::Idle, 0},  {PlayerState::WalkForward, 1}, {PlayerState::WalkBackward, -1},
        {PlayerState::Block, 0}, {PlayerState::Hit, 0},         {PlayerState::Tatsu, 0.3f}};
    for (const auto& [action, speed] : actions) {
        SCOPED_TRACE(action);
        FrameAnimation animation = character->getAnimation(action);
        EXPECT_FLOAT_EQ(animation.currentMovement().x, speed);
        EXPECT_FLOAT_EQ(animation.currentMovement().y, 0);
        if (action == PlayerState::Tatsu)
            continue;
        for (int i = 0; i < 1000; ++i)
            animation.step();
        EXPECT_FALSE(animation.isFinished());
    }
    EXPECT_EQ(character->spriteName(character->getAnimation(PlayerState::Block).currentSprite()),
              "Block");
    EXPECT_EQ(character->spriteName(character->getAnimation(PlayerState::Hit).currentSprite()),
              "Hit");
}

TEST_F(CharacterDataTest, AnyOtherActionValueGivesIdle) {
    for (int value : {0, 7, -1, 1000}) {
        const FrameAnimation animation =
            character->getAnimation(static_cast<PlayerState::Action>(value));
        EXPECT_EQ(character->spriteName(animation.currentSprite()), "Idle1") << value;
        EXPECT_EQ(animation.sprite.totalFrames, 30) << value;
        EXPECT_FLOAT_EQ(animation.currentMovement().x, 0) << value;
    }
}

TEST_F(CharacterDataTest, ACopyStartsFreshAndTheStoredAnimationsAreNeverPlayed) {
    FrameAnimation first = character->getAnimation(PlayerState::HP);
    for (int i = 0; i < 60; ++i)
        first.step();
    const FrameAnimation second = character->getAnimation(PlayerState::HP);
    EXPECT_FALSE(second.isFinished());
    EXPECT_EQ(second.sprite.currentFrame, 0);
    for (bool changed : second.changed)
        EXPECT_FALSE(changed);
    // Both fighters' copies point at the one set of boxes.
    EXPECT_EQ(first.hitboxes.segments[1].value, second.hitboxes.segments[1].value);
}

TEST_F(CharacterDataTest, FindMoveAnswersTheSpecialMoveOrIdle) {
    InputHistory history(60);
    const auto push = [&](Direction::eDirection direction, bool kick) {
        InputFrame frame;
        frame.direction = direction;
        frame.pressed[1] = kick;
        history.push(frame);
    };
    push(Direction::Down, false);
    push(Direction::DownLeft, false);
    EXPECT_EQ(character->findMove(history, false), PlayerState::Idle);
    push(Direction::Left, true);
    EXPECT_EQ(character->findMove(history, false), PlayerState::Tatsu);
    EXPECT_EQ(character->findMove(history, true), PlayerState::Idle);
}
