#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "anim/FrameAnimation.h"
#include "collision/HitProps.h"
#include "collision/HitboxInfo.h"
#include "fighter/PlayerState.h"
#include "input/MoveInput.h"

class InputHistory;

// One fighter as data: its names, health, sprites, an animation per action (sprite, boxes,
// attack properties and movement, step by step) and the motion commands of its special moves.
// Read from the fighter's file (FighterFile), shared by every fighter that plays it, never
// changed afterwards; it owns every box set, hit-property record and motion command that the
// animations and the move list point to.
class CharacterData {
public:
    // One picture of the fighter: the name its animations use and its image file in the
    // fighter's folder.
    struct Sprite {
        std::string name;
        std::string image;
    };

    CharacterData() = default;
    CharacterData(const CharacterData&) = delete;
    CharacterData& operator=(const CharacterData&) = delete;

    // A fresh copy at frame 0. Values outside WalkForward..Tatsu give Idle.
    FrameAnimation getAnimation(PlayerState::Action action) const;
    // The action of the first motion command entered in the history; Idle when none is.
    // pressSpendsMotion: a press that completed a motion spent it (InputHistory::matchesUnspent).
    PlayerState::Action findMove(const InputHistory& history, bool facingLeft,
                                 bool pressSpendsMotion = false) const;
    // Whether the action is a special move: one entered as a motion command.
    bool isSpecialMove(PlayerState::Action action) const;
    // The sprite's name; an index no track holds gives an empty one.
    const std::string& spriteName(int sprite) const;

    // Storage that keeps its elements where they are, for the tracks' pointers.
    HitboxInfo* addBoxes(HitboxInfo boxes);
    HitProps* addHitProps(HitProps props);
    void addMove(MoveInput move, PlayerState::Action action);

    static constexpr int actionCount = 7;
    // The name players type (its folder's), and the name shown.
    std::string name;
    std::string shownName;
    // What the special move is called, as the frame-data table names it.
    std::string specialName;
    int health = PlayerState::fullHealth;
    std::vector<Sprite> sprites;
    std::array<FrameAnimation, actionCount> animations;
    std::vector<std::pair<MoveInput*, PlayerState::Action>> moves;
    // The fingerprint of the file it was read from (Lineup::fingerprintOf): recordings and
    // online play name the fighter by it.
    std::uint64_t fingerprint = 0;

private:
    std::deque<HitboxInfo> boxSets;
    std::deque<HitProps> hitProps;
    std::deque<MoveInput> motions;
};
