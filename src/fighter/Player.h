#pragma once

#include "anim/FrameAnimation.h"
#include "fighter/FighterState.h"
#include "fighter/PlayerState.h"
#include "input/InputHistory.h"

class CharacterData;
class InputPanel;
struct HitProps;

// One fighter: its player's input history, its state and the running copy of its current
// action's animation. Chooses, keeps and leaves actions from input, stun and hits; moves with
// its animation. Owned by the Game; its character data is shared with every fighter that plays
// it. What it looks like is the presentation's business: the MatchView draws it from its state.
class Player {
public:
    // The second fighter starts on the right. Each input pushed is told to the panel, if any.
    Player(const CharacterData& character, bool onTheRight, InputPanel* panel);

    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // The per-step operations, in the order the match tick calls them.
    void updateStun();
    // opponentAttacking: the other fighter's live attacking flag.
    void checkBlock(bool opponentAttacking);
    void takeHit(const HitProps* props);
    // pressSpendsMotion: as CharacterData::findMove takes it.
    void selectAction(bool pressSpendsMotion = false);
    void updateAnimation();
    void setFacing(bool facingLeft) { state.facingLeft = facingLeft; }

    // Where a fighter starts a match: the second on the right, the first on the left.
    static Ogre::Vector2 startPosition(bool onTheRight) {
        return onTheRight ? Ogre::Vector2(50, 0) : Ogre::Vector2(-80, 0);
    }
    // The fighter as it starts a round at x: full health, idle, facing the other, with an empty
    // input history; whether its boxes are shown stays as it is.
    FighterState startAt(float x, bool onTheRight) const;
    // Puts the fighter elsewhere on the fight line in the middle of a step, as walls and the
    // other fighter's body do.
    void placeAt(float x) { state.position.x = x; }

    void save(FighterState& saved) const;
    void restore(const FighterState& saved);

    InputHistory history;
    PlayerState state;
    const CharacterData* character;
    FrameAnimation animation;
    PlayerState::Action currentAnimAction = PlayerState::Idle;
    bool hitboxesShown = false;

private:
    static constexpr int historyLength = FighterState::historyLength;

    void startAttack(PlayerState::Action attack);
    void setWalk(Direction::eDirection relative);
    void resetToIdle();
    void applyMovement();
};
