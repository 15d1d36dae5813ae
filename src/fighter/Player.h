#pragma once

#include <memory>
#include <string>

#include "anim/FrameAnimation.h"
#include "fighter/FighterState.h"
#include "fighter/PlayerState.h"
#include "input/InputHistory.h"

namespace Ogre {
class SceneManager;
}
class CharacterData;
class DisplayEntity;
class HealthDisplay;
struct HitProps;

// One fighter: its player's input history, its state, the running copy of its current action's
// animation and its sprite. Chooses, keeps and leaves actions from input, stun and hits; moves
// with its animation. Owned by the Game; shares the character data with the other fighter.
// Its sprite is optional: without a scene manager the fighter plays by the rules unseen.
class Player {
public:
    Player(const std::string& name, CharacterData* character, Ogre::SceneManager* sceneManager,
           InputDataDisplay* inputDisplay, HealthDisplay* healthDisplay);
    ~Player();

    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // The per-step operations, in the order the match tick calls them.
    void updateStun();
    // opponentAttacking: the other fighter's live attacking flag.
    void checkBlock(bool opponentAttacking);
    void takeHit(const HitProps* props);
    void selectAction();
    void updateAnimation();
    void setFacing(bool facingLeft);
    // Shows the fighter turned one way without turning it, for a state shown before the step
    // that turns it.
    void showFacing(bool facingLeft);

    void setShowHitboxes(bool show);

    // Where a fighter starts a match: "Player2" on the right, any other on the left.
    static Ogre::Vector2 startPosition(bool onTheRight) {
        return onTheRight ? Ogre::Vector2(50, 0) : Ogre::Vector2(-80, 0);
    }
    // Puts the fighter elsewhere on the fight line in the middle of a step, as walls and the
    // other fighter's body do; its sprite follows unless the display is held.
    void placeAt(float x);

    void save(FighterState& saved) const;
    // Leaves the display alone: see syncDisplay.
    void restore(const FighterState& saved);
    // While held, the fighter plays on but its sprite, boxes and health readout stay as they are.
    void setDisplayHeld(bool held) { displayHeld = held; }
    // Shows the fighter as it is now: sprite, side, position, depth, health and boxes, if it
    // has a sprite.
    void syncDisplay();

    InputHistory history;
    PlayerState state;
    std::unique_ptr<DisplayEntity> display;
    CharacterData* character;
    FrameAnimation animation;
    PlayerState::Action currentAnimAction = PlayerState::Idle;
    bool hitboxesShown = false;

private:
    static constexpr int historyLength = FighterState::historyLength;

    void startAttack(PlayerState::Action attack);
    void setWalk(Direction::eDirection relative);
    void resetToIdle();
    void applyMovement();
    void updateDisplay(bool materialChanged);
    void updateHitboxDisplay();
    bool drawnInFront() const;
    bool showsChanges() const { return display && !displayHeld; }

    bool displayHeld = false;
};
