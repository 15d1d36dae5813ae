#include <Ogre.h>
#include <Overlay/OgreOverlayElement.h>
#include <Overlay/OgreOverlayManager.h>

#include "anim/CharacterData.h"
#include "collision/HitboxInfo.h"
#include "render/DisplayEntity.h"
#include "render/HitboxDisplay.h"
#include "render/Hud.h"
#include "render/InputDataDisplay.h"
#include "support/MatchFixture.h"

namespace {

std::string sprite(const Player& player) {
    return player.character->spriteName(player.animation.currentSprite());
}

bool showsAttackBox(const Player& player) {
    return !player.animation.currentHitboxes()->attackBoxes.empty();
}

std::string healthCaption(const char* element) {
    return Ogre::OverlayManager::getSingleton().getOverlayElement(element)->getCaption();
}

Ogre::uint8 renderGroup(const DisplayEntity& display) {
    return display.getEntity()->getRenderQueueGroup();
}

// The fighters' first key sets, by role.
const OIS::KeyCode p1Down = OIS::KC_S, p1Back = OIS::KC_A, p1Forward = OIS::KC_D;
const OIS::KeyCode p1Punch = OIS::KC_J, p1Kick = OIS::KC_K;
// The second fighter stands on the right facing left: its back is the right arrow.
const OIS::KeyCode p2Down = OIS::KC_DOWN, p2Back = OIS::KC_RIGHT, p2Punch = OIS::KC_NUMPAD1,
                   p2Kick = OIS::KC_NUMPAD2;

} // namespace

class MatchTickTest : public MatchFixture {
protected:
    // Down, down-back, then back with the button (and another key, if given): one step each.
    void enterMotion(OIS::KeyCode down, OIS::KeyCode back, OIS::KeyCode button,
                     OIS::KeyCode alsoPressed = OIS::KC_UNASSIGNED) {
        keyboard.press(down);
        step();
        keyboard.press(back);
        step();
        keyboard.release(down);
        keyboard.press(button);
        keyboard.press(alsoPressed);
        step();
        keyboard.releaseAll();
    }
};

// The punch starts on the step J is first seen; its box is out 15 steps later; the hit lands
// on the step after that, using the boxes that were on screen.
TEST_F(MatchTickTest, TheRoadOfOnePunch) {
    place(0, 60);
    tap(p1Punch); // step 1
    EXPECT_EQ(p1().state.action, PlayerState::HP);
    EXPECT_EQ(sprite(p1()), "HP1");

    step(14); // steps 2 to 15
    EXPECT_FALSE(showsAttackBox(p1()));
    step(); // step 16
    EXPECT_TRUE(showsAttackBox(p1()));
    EXPECT_EQ(sprite(p1()), "HP2");
    EXPECT_EQ(p2().state.health, 1000);

    step(); // step 17: the hit
    EXPECT_EQ(p2().state.health, 950);
    EXPECT_EQ(p2().state.action, PlayerState::Hit);
    EXPECT_EQ(p2().state.stunFrames, 51);
    EXPECT_FALSE(p1().state.canHit);
    EXPECT_EQ(healthCaption("HealthText2"), "950");
    EXPECT_EQ(renderGroup(display(1)), 50) << "a fighter being hit is drawn behind";
    EXPECT_EQ(renderGroup(display(0)), 60);

    for (int s = 18; s <= 67; ++s) {
        step();
        SCOPED_TRACE(s);
        ASSERT_FALSE(p2().state.canAct);
        ASSERT_EQ(p2().state.action, PlayerState::Hit);
        ASSERT_EQ(p2().state.health, 950) << "the punch lands once";
        ASSERT_EQ(p1().state.action, s <= 55 ? PlayerState::HP : PlayerState::Idle);
    }
    step(); // step 68: free again
    EXPECT_TRUE(p2().state.canAct);
    EXPECT_EQ(p2().state.action, PlayerState::Idle);
    EXPECT_EQ(renderGroup(display(1)), 60);
}

TEST_F(MatchTickTest, ThePunchEndsOnItsFiftyFifthStepAndShowsIdleOnTheNext) {
    place(0, 300);
    tap(p1Punch);
    step(54); // the 55th step of the animation is step 56
    EXPECT_EQ(p1().state.action, PlayerState::HP);
    step();
    EXPECT_EQ(p1().state.action, PlayerState::Idle);
    EXPECT_EQ(sprite(p1()), "HP3") << "the finished animation stays on screen for its last step";
    step();
    EXPECT_EQ(sprite(p1()), "Idle1");
}

// Pressing the button again on the first step the fighter may act starts a new punch at once.
TEST_F(MatchTickTest, APunchRightAfterAPunchIsNotLost) {
    place(0, 300);
    tap(p1Punch);
    step(55);
    ASSERT_EQ(p1().state.action, PlayerState::Idle);
    tap(p1Punch);
    EXPECT_EQ(p1().state.action, PlayerState::HP);
    EXPECT_EQ(sprite(p1()), "HP1");
    step(15);
    EXPECT_TRUE(showsAttackBox(p1()));
}

TEST_F(MatchTickTest, BlockingTakesNoDamageAndHoldsForTheBlockStun) {
    place(0, 60);
    tap(p1Punch);
    keyboard.press(p2Back);
    step(15); // steps 2 to 16: blocking, not walking away
    EXPECT_EQ(p2().state.action, PlayerState::Block);
    EXPECT_FLOAT_EQ(p2().state.position.x, 60);
    step(); // step 17: the hit is blocked
    EXPECT_EQ(p2().state.health, 1000);
    EXPECT_EQ(p2().state.stunFrames, 31);
    EXPECT_EQ(renderGroup(display(1)), 50) << "a blocking fighter is drawn behind";
    keyboard.release(p2Back);
    for (int s = 18; s <= 47; ++s) {
        step();
        SCOPED_TRACE(s);
        ASSERT_EQ(p2().state.action, PlayerState::Block);
        ASSERT_FALSE(p2().state.canAct);
    }
    step(); // step 48
    EXPECT_EQ(p2().state.action, PlayerState::Idle);
    EXPECT_TRUE(p2().state.canAct);
}

TEST_F(MatchTickTest, LettingGoOfBackOnTheStepOfTheHitStillBlocksIt) {
    place(0, 60);
    tap(p1Punch);
    keyboard.press(p2Back);
    step(15);
    keyboard.release(p2Back);
    step(); // step 17
    EXPECT_EQ(p2().state.health, 1000);
    EXPECT_EQ(p2().state.action, PlayerState::Block);
}

TEST_F(MatchTickTest, DownBackBlocksWithoutWalkingAndBackAloneWalksAway) {
    place(0, 60);
    keyboard.press(p2Down);
    keyboard.press(p2Back);
    step(5);
    EXPECT_EQ(p2().state.action, PlayerState::Idle);
    EXPECT_FLOAT_EQ(p2().state.position.x, 60);
    tap(p1Punch);
    step(16);
    EXPECT_EQ(p2().state.health, 1000);
    EXPECT_EQ(p2().state.action, PlayerState::Block);

    keyboard.releaseAll();
    step(80);
    keyboard.press(p2Back);
    step(10);
    EXPECT_EQ(p2().state.action, PlayerState::WalkBackward);
    EXPECT_FLOAT_EQ(p2().state.position.x, 70);
}

// Both attacks connect in one step: each fighter's hit test uses the step's start, so neither
// hit cancels the other, and a fighter in its own attack does not block.
TEST_F(MatchTickTest, BothFightersTradeHitsInOneStep) {
    place(0, 60);
    keyboard.press(p1Punch);
    keyboard.press(p2Punch);
    step();
    keyboard.releaseAll();
    keyboard.press(p2Back);
    step(15);
    EXPECT_EQ(p2().state.action, PlayerState::HP) << "no block during its own attack";
    step();
    EXPECT_EQ(p1().state.health, 950);
    EXPECT_EQ(p2().state.health, 950);
    EXPECT_EQ(p1().state.action, PlayerState::Hit);
    EXPECT_EQ(p2().state.action, PlayerState::Hit);
    EXPECT_FALSE(p1().state.attacking);
    EXPECT_FALSE(p2().state.attacking);
}

TEST_F(MatchTickTest, TheSpecialMoveIsEnteredRelativeToEachFightersFacing) {
    place(-100, 100);
    // The first fighter faces right: its back is left.
    enterMotion(p1Down, p1Back, p1Kick);
    EXPECT_EQ(p1().state.action, PlayerState::Tatsu);

    // The second faces left: the same motion runs towards the right.
    step(100);
    enterMotion(p2Down, p2Back, p2Kick);
    EXPECT_EQ(p2().state.action, PlayerState::Tatsu);
}

TEST_F(MatchTickTest, TheMotionTowardsTheOpponentIsNoSpecialMove) {
    place(-100, 100);
    enterMotion(p1Down, p1Forward, p1Kick);
    EXPECT_NE(p1().state.action, PlayerState::Tatsu);
}

TEST_F(MatchTickTest, TheSpecialMoveWinsOverThePunch) {
    place(-100, 100);
    enterMotion(p1Down, p1Back, p1Kick, p1Punch);
    EXPECT_EQ(p1().state.action, PlayerState::Tatsu);
}

TEST_F(MatchTickTest, TheSpinningKickTravelsTowardsTheOpponent) {
    place(-100, 100);
    enterMotion(p1Down, p1Back, p1Kick);
    ASSERT_EQ(p1().state.action, PlayerState::Tatsu);
    step(9);
    EXPECT_NEAR(p1().state.position.x, -100 + 0.3f * 10, 1e-4f);

    step(100);
    enterMotion(p2Down, p2Back, p2Kick);
    step(9);
    EXPECT_NEAR(p2().state.position.x, 100 - 0.3f * 10, 1e-4f);
}

// Each of the five kicking segments lands once on an opponent close enough for kicks to both
// sides; the kicks in between and the re-armed Idle do not add any.
TEST_F(MatchTickTest, TheSpinningKickLandsAtMostFiveHits) {
    place(0, 0);
    enterMotion(p1Down, p1Back, p1Kick);
    ASSERT_EQ(p1().state.action, PlayerState::Tatsu);
    step();
    EXPECT_EQ(p2().state.health, 980);
    EXPECT_EQ(p2().state.stunFrames, 41);
    step(20);
    EXPECT_EQ(p2().state.health, 960);
    EXPECT_EQ(p2().state.stunFrames, 41) << "a second hit starts the stun afresh";
    step(100);
    EXPECT_EQ(p2().state.health, 900);
    EXPECT_EQ(p1().state.action, PlayerState::Idle);
}

TEST_F(MatchTickTest, FightersTurnWhenTheyCrossAndTheFirstFacesRightAtEqualX) {
    place(-10, 10);
    EXPECT_FALSE(p1().state.facingLeft);
    EXPECT_TRUE(p2().state.facingLeft);
    EXPECT_EQ(display(1).getNode()->getOrientation(), Ogre::Quaternion(0, 0, 1, 0));

    keyboard.press(p1Forward);
    step(20); // the first fighter reaches x = 10
    ASSERT_FLOAT_EQ(p1().state.position.x, 10);
    EXPECT_FALSE(p1().state.facingLeft);
    EXPECT_TRUE(p2().state.facingLeft);
    step();
    EXPECT_TRUE(p1().state.facingLeft);
    EXPECT_FALSE(p2().state.facingLeft);
    EXPECT_EQ(display(0).getNode()->getOrientation(), Ogre::Quaternion(0, 0, 1, 0));
    EXPECT_EQ(display(1).getNode()->getOrientation(), Ogre::Quaternion::IDENTITY);

    // Without a change of side the sprite is left alone.
    const Ogre::Quaternion marker(Ogre::Degree(30), Ogre::Vector3::UNIT_Y);
    display(0).getNode()->setOrientation(marker);
    step(5);
    EXPECT_TRUE(display(0).getNode()->getOrientation().equals(marker, Ogre::Degree(0.01f)));
}

TEST_F(MatchTickTest, TheDebugDisplaysAreSettingsNotToggles) {
    Ogre::OverlayElement* rows1 =
        Ogre::OverlayManager::getSingleton().getOverlayElement("InputDataRows1");
    EXPECT_FALSE(rows1->isVisible());
    EXPECT_EQ(display(0).getHitboxDisplay()->getBoxCount(), 0);

    game->showInputPanels();
    game->showInputPanels();
    match.show();
    EXPECT_TRUE(rows1->isVisible());
    keyboard.press(p1Forward);
    step(3);
    EXPECT_EQ(game->panels[0].panel.rowCount, 1);

    game->showHitboxes();
    game->showHitboxes();
    match.show();
    EXPECT_EQ(display(0).getHitboxDisplay()->getBoxCount(), 1);
    EXPECT_EQ(display(1).getHitboxDisplay()->getBoxCount(), 1);

    game->hideDebugDisplays();
    match.show();
    EXPECT_FALSE(rows1->isVisible());
    EXPECT_EQ(game->panels[0].panel.rowCount, 0);
    EXPECT_EQ(rows1->getCaption(), "");
    EXPECT_EQ(display(0).getHitboxDisplay()->getBoxCount(), 0);
    EXPECT_EQ(display(1).getHitboxDisplay()->getBoxCount(), 0);
}

TEST_F(MatchTickTest, ShownBoxesFollowTheAnimation) {
    place(0, 300);
    game->showHitboxes();
    tap(p1Punch);
    step(14);
    EXPECT_EQ(display(0).getHitboxDisplay()->getBoxCount(), 1);
    step();
    EXPECT_EQ(display(0).getHitboxDisplay()->getBoxCount(), 2);
    step(20);
    EXPECT_EQ(display(0).getHitboxDisplay()->getBoxCount(), 1);
}

// F1 with F2 in one step: F1 hides and empties the panels, then F2 shows them again, empty.
// F2 alone keeps the rows.
TEST_F(MatchTickTest, F1WithF2InOneStepShowsThePanelsEmptied) {
    game->showInputPanels();
    keyboard.press(p1Forward);
    step();
    keyboard.releaseAll();
    StepInput keys;
    keys.keys.showInputPanels = true;
    match.step(keys);
    ASSERT_EQ(game->panels[0].panel.rowCount, 1);

    keys.keys.hideDebugDisplays = true;
    match.step(keys);
    EXPECT_TRUE(game->panels[0].panel.visible);
    EXPECT_EQ(game->panels[0].panel.rowCount, 0);
}

// Escape's step pushes neither player's frame, yet the fight goes on for that step.
TEST_F(MatchTickTest, TheQuitStepTakesNoFramesButStillTicks) {
    const int frames = p1().history.frameCounter;
    p2().state.stunFrames = 10;
    StepInput quit;
    quit.keys.quit = true;
    quit.players[0].pressed[0] = true;
    EXPECT_FALSE(match.step(quit));
    EXPECT_EQ(p1().history.frameCounter, frames);
    EXPECT_EQ(p2().history.frameCounter, frames);
    EXPECT_NE(p1().state.action, PlayerState::HP);
    EXPECT_EQ(p2().state.stunFrames, 9);
}
