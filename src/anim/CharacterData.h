#pragma once

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "anim/FrameAnimation.h"
#include "collision/HitProps.h"
#include "collision/HitboxInfo.h"
#include "fighter/PlayerState.h"
#include "input/MoveInput.h"

class InputHistory;
class SpriteManager;

// The game's one character as data: an animation per action (sprite, boxes, attack properties
// and movement, frame by frame) and the motion commands of its special moves. Built once by the
// Game, shared by both fighters, never changed afterwards; it owns every box set, hit-property
// record and motion command that the animations and the move list point to.
class CharacterData {
public:
    // The sprite library's materials, which must exist.
    CharacterData();
    // Without a sprite library the material track holds no materials: the rules alone.
    explicit CharacterData(SpriteManager* sprites);

    CharacterData(const CharacterData&) = delete;
    CharacterData& operator=(const CharacterData&) = delete;

    // A fresh copy at frame 0. Values outside WalkForward..Tatsu give Idle.
    FrameAnimation getAnimation(PlayerState::Action action) const;
    // The action of the first motion command entered in the history; Idle when none is.
    PlayerState::Action findMove(const InputHistory& history, bool facingLeft) const;
    // Whether the action is a special move: one entered as a motion command.
    bool isSpecialMove(PlayerState::Action action) const;

    static constexpr int actionCount = 7;
    std::array<FrameAnimation, actionCount> animations;
    std::vector<std::pair<MoveInput*, PlayerState::Action>> moves;

private:
    void buildMoves();
    void buildBoxes();
    void buildAnimations(SpriteManager* sprites);

    HitboxInfo standing, punching, spinning, spinFront, spinBack;
    HitProps noHit, punchHit, spinHitA, spinHitB;
    std::unique_ptr<MoveInput> tatsuMotion;
};
