#include "fighter/Player.h"

#include <algorithm>

#include "anim/CharacterData.h"
#include "collision/HitProps.h"

Player::Player(const CharacterData& character, bool onTheRight, InputPanel* panel)
    : history(historyLength), character(&character) {
    history.setListener(panel);
    state.position = startPosition(onTheRight);
    state.health = character.health;
    animation = character.getAnimation(PlayerState::Idle);
}

// Stun given to an attacker waits for its attack to end (MatchTick's blocked attacks).
void Player::updateStun() {
    if (state.attacking)
        return;
    if (state.stunFrames > 0) {
        --state.stunFrames;
        if (state.stunFrames == 0)
            resetToIdle();
        return;
    }
    if (!state.attacking)
        state.canAct = true;
}

void Player::checkBlock(bool opponentAttacking) {
    if (state.attacking)
        return;
    const Direction::eDirection relative = history.newest().relativeDirection(state.facingLeft);
    const bool holdingBack = relative == Direction::Left || relative == Direction::DownLeft;
    if (opponentAttacking && state.canBlock && state.canAct && holdingBack) {
        state.action = PlayerState::Block;
        state.canAct = false;
    }
}

void Player::takeHit(const HitProps* props) {
    state.canAct = false;
    state.attacking = false;
    if (state.action == PlayerState::Block) {
        state.stunFrames = props->blockStun + 1;
        return;
    }
    state.action = PlayerState::Hit;
    state.stunFrames = props->hitStun + 1;
    state.health -= props->damage;
}

// A motion command wins over the plain attack, and both over walking.
void Player::selectAction(bool pressSpendsMotion) {
    if (!state.canAct)
        return;
    const InputFrame newest = history.newest();
    const PlayerState::Action move =
        character->findMove(history, state.facingLeft, pressSpendsMotion);
    if (move != PlayerState::Idle) {
        startAttack(move);
        return;
    }
    if (newest.pressed[0]) {
        startAttack(PlayerState::HP);
        return;
    }
    setWalk(newest.relativeDirection(state.facingLeft));
}

void Player::startAttack(PlayerState::Action attack) {
    state.action = attack;
    state.canAct = false;
    state.canBlock = false;
    state.attacking = true;
}

// Walking changes only the action: the fighter stays free to choose again next step.
void Player::setWalk(Direction::eDirection relative) {
    if (relative == Direction::Left)
        state.action = PlayerState::WalkBackward;
    else if (relative == Direction::Right)
        state.action = PlayerState::WalkForward;
    else
        state.action = PlayerState::Idle;
}

// A fighter whose attack ends with stun still to run stands idle but cannot act until it has.
void Player::resetToIdle() {
    state.action = PlayerState::Idle;
    state.canAct = state.stunFrames == 0;
    state.canBlock = true;
    state.canHit = true;
    state.attacking = false;
}

void Player::updateAnimation() {
    // A finished animation still loaded under the chosen action counts as a switch too, so an
    // attack chosen again on the step after it ended starts afresh instead of being lost.
    bool switched = state.action != currentAnimAction || animation.isFinished();
    if (switched) {
        currentAnimAction = state.action;
        animation = character->getAnimation(state.action);
    } else {
        animation.step();
        if (animation.isFinished()) {
            // The finished animation stays on screen for this step; Idle is loaded on the next.
            resetToIdle();
            switched = true;
        }
    }

    const bool hitPropsChanged = animation.changed[FrameAnimation::HitPropsTrack] ||
                                 (switched && animation.hasHitProps());
    // Each active segment may land one hit: a new one re-arms the attack.
    if (hitPropsChanged && animation.currentHitProps()->active)
        state.canHit = true;

    applyMovement();
}

void Player::applyMovement() {
    Ogre::Vector2 movement = animation.currentMovement();
    if (state.facingLeft)
        movement.x = -movement.x;
    state.position += movement;
}

FighterState Player::startAt(float x, bool onTheRight) const {
    FighterState start;
    start.state.position = Ogre::Vector2(x, 0);
    start.state.facingLeft = onTheRight;
    start.state.health = character->health;
    start.hitboxesShown = hitboxesShown;
    return start;
}

void Player::save(FighterState& saved) const {
    saved.state = state;
    saved.animationAction = currentAnimAction;
    saved.animation = animation.position();
    std::copy(history.frames.begin(), history.frames.end(), saved.history.begin());
    saved.frameCounter = history.frameCounter;
    saved.hitboxesShown = hitboxesShown;
}

void Player::restore(const FighterState& saved) {
    state = saved.state;
    // The running animation is a copy of its action's; only another action needs a new copy.
    if (saved.animationAction != currentAnimAction) {
        currentAnimAction = saved.animationAction;
        animation = character->getAnimation(currentAnimAction);
    }
    animation.seek(saved.animation);
    std::copy(saved.history.begin(), saved.history.end(), history.frames.begin());
    history.frameCounter = saved.frameCounter;
    hitboxesShown = saved.hitboxesShown;
}
