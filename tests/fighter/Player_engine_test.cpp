#include <Overlay/OgreOverlayElement.h>
#include <Overlay/OgreOverlayManager.h>

#include "anim/CharacterData.h"
#include "collision/HitProps.h"
#include "support/MatchFixture.h"

namespace {

std::string caption(const char* element) {
    return Ogre::OverlayManager::getSingleton().getOverlayElement(element)->getCaption();
}

} // namespace

using PlayerTest = MatchFixture;

TEST_F(PlayerTest, FightersStartApartIdleAndAtFullHealth) {
    EXPECT_EQ(p1().state.position, Ogre::Vector2(-80, 0));
    EXPECT_EQ(p2().state.position, Ogre::Vector2(50, 0));
    for (Player* player : {&p1(), &p2()}) {
        EXPECT_EQ(player->state.action, PlayerState::Idle);
        EXPECT_EQ(player->state.health, 1000);
        EXPECT_FALSE(player->state.facingLeft);
        EXPECT_EQ(player->character->spriteName(player->animation.currentSprite()), "Idle1");
    }
    EXPECT_EQ(caption("HealthText1"), "1000");
    EXPECT_EQ(caption("HealthText2"), "1000");
    EXPECT_EQ(game->player1->character, game->player2->character) << "one character data";
    match.show();
}

TEST_F(PlayerTest, WalkingFollowsTheStickRelativeToTheOpponent) {
    step();
    keyboard.press(OIS::KC_D);
    step();
    EXPECT_EQ(p1().state.action, PlayerState::WalkForward);
    EXPECT_FLOAT_EQ(p1().state.position.x, -79);
    keyboard.release(OIS::KC_D);
    step();
    EXPECT_EQ(p1().state.action, PlayerState::Idle);

    for (OIS::KeyCode key : {OIS::KC_W, OIS::KC_S}) {
        keyboard.press(key);
        step(3);
        EXPECT_EQ(p1().state.action, PlayerState::Idle);
        keyboard.release(key);
    }
    EXPECT_FLOAT_EQ(p1().state.position.x, -79);

    // The second fighter faces left: walking forward is towards -x.
    keyboard.press(OIS::KC_LEFT);
    step(10);
    EXPECT_EQ(p2().state.action, PlayerState::WalkForward);
    EXPECT_FLOAT_EQ(p2().state.position.x, 40);
}

TEST_F(PlayerTest, HealthHasNoFloorAndPlayGoesOn) {
    HitProps punch;
    punch.active = true;
    punch.damage = 600;
    punch.hitStun = 5;
    p2().takeHit(&punch);
    p2().takeHit(&punch);
    step();
    EXPECT_EQ(p2().state.health, -200);
    EXPECT_EQ(caption("HealthText2"), "-200");
    step(10);
    keyboard.press(OIS::KC_RIGHT);
    step();
    EXPECT_EQ(p2().state.action, PlayerState::WalkBackward);
}
