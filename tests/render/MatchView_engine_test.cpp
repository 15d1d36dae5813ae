// What the match view draws of projectiles and throws, on the real engine.
#include <OgreEntity.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>

#include "anim/CharacterData.h"
#include "render/DisplayEntity.h"
#include "render/HitboxDisplay.h"
#include "support/EngineEnvironment.h"
#include "support/SteppedMatch.h"

namespace {

Lineup kaedeAndGoro() {
    Lineup lineup;
    lineup.fighters[0].name = "kaede";
    lineup.fighters[1].name = "goro";
    lineup.stage.name = "courtyard";
    return lineup;
}

} // namespace

// An orb shows where it flies, with its boxes when the boxes are on, and not once it is gone.
TEST(MatchViewTest, AnOrbInFlightIsDrawnWithItsBoxesAndGoesWithIt) {
    Application& app = EngineEnvironment::app();
    SteppedMatch match(app, kaedeAndGoro());
    match.game->showHitboxes();
    match.show();
    const DisplayEntity& orb = match.view->projectile(0);
    Ogre::SceneNode* node = orb.getNode();
    EXPECT_FALSE(orb.getEntity()->isVisible());

    match.game->projectiles[0] = ProjectileState{true, 30, 0, false, 4};
    match.show();
    EXPECT_TRUE(orb.getEntity()->isVisible());
    EXPECT_EQ(node->getPosition(), Ogre::Vector3(30, 0, 0));
    // Kaede's orb has a body box and an attack box.
    EXPECT_EQ(orb.getHitboxDisplay()->getBoxCount(), 2);

    match.game->projectiles[0].active = false;
    match.show();
    EXPECT_FALSE(orb.getEntity()->isVisible());
}

// Until it grabs, a throw's boxes show its reach: one attack box more than its own set.
TEST(MatchViewTest, AThrowShowsItsReachUntilItGrabs) {
    SteppedMatch match(EngineEnvironment::app(), kaedeAndGoro());
    match.game->showHitboxes();
    Player& goro = match.p2();
    goro.state.action = PlayerState::Throw;
    goro.currentAnimAction = PlayerState::Throw;
    goro.animation = goro.character->getAnimation(PlayerState::Throw);
    match.show();
    const int own = static_cast<int>(goro.animation.currentHitboxes()->bodyBoxes.size() +
                                     goro.animation.currentHitboxes()->attackBoxes.size());
    EXPECT_EQ(match.view->fighter(1).getHitboxDisplay()->getBoxCount(), own + 1);

    match.game->grab = ThrowState{1, 0};
    match.show();
    EXPECT_EQ(match.view->fighter(1).getHitboxDisplay()->getBoxCount(), own);
}
