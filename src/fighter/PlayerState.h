#pragma once

#include <OgreVector.h>

#include "fighter/ComboState.h"

// Everything a fighter is from one logic step to the next, as a plain value: the match tick
// copies both fighters' states at the start of every step.
struct PlayerState {
    enum Action : int {
        Idle = 0,
        WalkForward = 1,
        WalkBackward = 2,
        Block = 3,
        Hit = 4,
        HP = 5,
        Tatsu = 6,
    };

    // On the fight plane: x along the fight line, y up from the ground.
    Ogre::Vector2 position = Ogre::Vector2(0, 0);
    Action action = Idle;
    // Faces -x: the opponent is to its left.
    bool facingLeft = false;
    // May choose a new action this step.
    bool canAct = true;
    bool canBlock = true;
    // The current attack may still land; each active attack segment lands at most once.
    bool canHit = true;
    // In HP or Tatsu.
    bool attacking = false;
    // Steps of hit or block stun still to run. While attacking (only ever under the versus rules
    // where a blocked attack leaves an opening): the steps it stays unable to act, standing
    // idle, once its attack has ended.
    int stunFrames = 0;
    static constexpr int fullHealth = 1000;
    // No lower bound: play goes on below 0.
    int health = fullHealth;
    // Under the versus rules of fair fights only (zero in any other match): the combo it takes,
    // and the steps still to run of the push back from a hit it blocked.
    ComboState combo;
    int pushbackSteps = 0;
};
