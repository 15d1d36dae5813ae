#include <memory>
#include <string>

#include <Ogre.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>
#include <gtest/gtest.h>

#include "collision/HitboxInfo.h"
#include "render/DisplayEntity.h"
#include "render/HealthDisplay.h"
#include "render/HitboxDisplay.h"
#include "support/EngineEnvironment.h"

namespace {

Ogre::SceneManager* scene() {
    return EngineEnvironment::app().getSceneManager();
}

// Where a quad spanning the local corners lo..hi ends up in the world, exactly (the engine's
// own bounding boxes carry a little padding).
Ogre::AxisAlignedBox worldQuad(const Ogre::SceneNode* node, Ogre::Vector3 lo, Ogre::Vector3 hi) {
    scene()->getRootSceneNode()->_update(true, false);
    Ogre::AxisAlignedBox box;
    box.merge(node->_getFullTransform() * lo);
    box.merge(node->_getFullTransform() * hi);
    return box;
}

// The sprite quad spans x -0.5..0.5 and y 0..1; a box overlay quad x 0..1 and y -1..0.
Ogre::AxisAlignedBox spriteBounds(const DisplayEntity& sprite) {
    return worldQuad(sprite.getNode(), {-0.5f, 0, 0}, {0.5f, 1, 0});
}

Ogre::AxisAlignedBox boxBounds(const std::string& entityName) {
    return worldQuad(scene()->getEntity(entityName)->getParentSceneNode(), {0, -1, 0}, {1, 0, 0});
}

void expectSpan(const Ogre::AxisAlignedBox& box, float left, float right, float bottom, float top) {
    EXPECT_NEAR(box.getMinimum().x, left, 1e-3);
    EXPECT_NEAR(box.getMaximum().x, right, 1e-3);
    EXPECT_NEAR(box.getMinimum().y, bottom, 1e-3);
    EXPECT_NEAR(box.getMaximum().y, top, 1e-3);
}

class DisplayEntityTest : public ::testing::Test {
protected:
    void SetUp() override {
        healthText = static_cast<Ogre::TextAreaOverlayElement*>(
            Ogre::OverlayManager::getSingleton().createOverlayElement("TextArea",
                                                                      "DisplayEntityHealth"));
        health = std::make_unique<HealthDisplay>(healthText);
        sprite = std::make_unique<DisplayEntity>(scene(), "Tester", health.get());
    }

    void TearDown() override {
        sprite.reset();
        Ogre::OverlayManager::getSingleton().destroyOverlayElement(healthText);
    }

    Ogre::TextAreaOverlayElement* healthText = nullptr;
    std::unique_ptr<HealthDisplay> health;
    std::unique_ptr<DisplayEntity> sprite;
};

TEST_F(DisplayEntityTest, BuildsAScaledSpriteQuadOnTheFightPlane) {
    Ogre::Entity* entity = sprite->getEntity();
    EXPECT_EQ(entity->getName(), "TesterDisplayEntity");
    EXPECT_EQ(entity->getMesh()->getName(), "QuadBottomCenter.mesh");
    EXPECT_EQ(entity->getParentSceneNode(), sprite->getNode());
    EXPECT_EQ(sprite->getNode()->getParent(), scene()->getRootSceneNode());
    EXPECT_EQ(sprite->getNode()->getScale(), Ogre::Vector3(157, 116, 1));
    EXPECT_EQ(entity->getRenderQueueGroup(), 60);
    EXPECT_EQ(entity->getSubEntity(0)->getMaterialName(), "Sprite");

    sprite->setSpritePosition(-80, 0);
    expectSpan(spriteBounds(*sprite), -158.5f, -1.5f, 0, 116);
    // The engine's own bounds agree, up to their padding.
    const Ogre::AxisAlignedBox engineBounds = entity->getWorldBoundingBox(true);
    EXPECT_NEAR(engineBounds.getCenter().x, -80, 1e-3);
    EXPECT_NEAR(engineBounds.getCenter().y, 58, 1e-3);
}

TEST_F(DisplayEntityTest, FlipIsAnAbsoluteHalfTurnAboutTheBottomCentre) {
    sprite->setSpritePosition(40, 10);
    sprite->setFlipped(true);
    sprite->setFlipped(true);
    EXPECT_TRUE(sprite->getNode()->getOrientation().equals(Ogre::Quaternion(0, 0, 1, 0),
                                                           Ogre::Degree(0.01f)));
    expectSpan(spriteBounds(*sprite), 40 - 78.5f, 40 + 78.5f, 10, 126);
    // The image's right edge (local +x) is now on the left.
    scene()->getRootSceneNode()->_update(true, false);
    EXPECT_NEAR((sprite->getNode()->_getFullTransform() * Ogre::Vector3(0.5f, 0, 0)).x, -38.5f,
                1e-3);

    sprite->setFlipped(false);
    EXPECT_EQ(sprite->getNode()->getOrientation(), Ogre::Quaternion::IDENTITY);
}

TEST_F(DisplayEntityTest, RenderQueueGroupIsTouchedOnlyOnAChange) {
    Ogre::Entity* entity = sprite->getEntity();
    // A group nobody else uses shows whether the display entity told the engine anything.
    entity->setRenderQueueGroup(70);
    sprite->setInFront(true);
    EXPECT_EQ(entity->getRenderQueueGroup(), 70);

    sprite->setInFront(false);
    EXPECT_EQ(entity->getRenderQueueGroup(), 50);
    entity->setRenderQueueGroup(70);
    sprite->setInFront(false);
    EXPECT_EQ(entity->getRenderQueueGroup(), 70);

    sprite->setInFront(true);
    EXPECT_EQ(entity->getRenderQueueGroup(), 60);
}

TEST_F(DisplayEntityTest, PassesMaterialAndHealthOn) {
    sprite->setSpriteMaterial(Ogre::MaterialManager::getSingleton().getByName("GreenOverlay"));
    EXPECT_EQ(sprite->getEntity()->getSubEntity(0)->getMaterialName(), "GreenOverlay");
    sprite->setHealth(950);
    EXPECT_EQ(healthText->getCaption(), "950");
    sprite->setHealth(-1);
    EXPECT_EQ(healthText->getCaption(), "-1");
    // The caption is set only when the number changes.
    healthText->setCaption("untouched");
    sprite->setHealth(-1);
    EXPECT_EQ(healthText->getCaption(), "untouched");
}

TEST_F(DisplayEntityTest, ShowsBoxesOnQuadsMadeOnceAndReused) {
    HitboxInfo info;
    info.addBox(AABB(0, 10, 20, 0), false);
    info.addBox(AABB(5, 45, 70, 50), true);
    info.addBox(AABB(-20, 20, 90, 0), false);
    const HitboxDisplay& boxes = *sprite->getHitboxDisplay();
    struct Quad {
        const char* name;
        const char* mesh;
        int group;
    };
    const Quad quads[] = {{"Tester_ATTACKBOX_1", "RedOverlay.mesh", 90},
                          {"Tester_BODYBOX_1", "GreenOverlay.mesh", 80},
                          {"Tester_BODYBOX_2", "GreenOverlay.mesh", 80}};
    auto shown = [](const char* name) { return scene()->getEntity(name)->getVisible(); };

    sprite->showHitboxInfo(&info);
    const std::size_t entities = scene()->getMovableObjects("Entity").size();
    for (int showing = 0; showing < 2; ++showing) {
        sprite->showHitboxInfo(&info);
        EXPECT_EQ(boxes.getBoxCount(), 3);
        for (const Quad& quad : quads) {
            ASSERT_TRUE(scene()->hasEntity(quad.name)) << quad.name;
            Ogre::Entity* entity = scene()->getEntity(quad.name);
            EXPECT_TRUE(entity->getVisible()) << quad.name;
            EXPECT_EQ(entity->getMesh()->getName(), quad.mesh) << quad.name;
            EXPECT_EQ(entity->getRenderQueueGroup(), quad.group) << quad.name;
            EXPECT_EQ(entity->getParentSceneNode()->getParent(), boxes.getHitboxNode()) << quad.name;
        }
        expectSpan(boxBounds("Tester_ATTACKBOX_1"), 5, 45, 50, 70);
        expectSpan(boxBounds("Tester_BODYBOX_1"), 0, 10, 0, 20);
        expectSpan(boxBounds("Tester_BODYBOX_2"), -20, 20, 0, 90);
    }

    HitboxInfo attackOnly;
    attackOnly.addBox(AABB(0, 1, 1, 0), true);
    sprite->showHitboxInfo(&attackOnly);
    EXPECT_EQ(boxes.getBoxCount(), 1);
    EXPECT_TRUE(shown("Tester_ATTACKBOX_1"));
    expectSpan(boxBounds("Tester_ATTACKBOX_1"), 0, 1, 0, 1);
    EXPECT_FALSE(shown("Tester_BODYBOX_1"));
    EXPECT_FALSE(shown("Tester_BODYBOX_2"));

    const HitboxInfo empty;
    for (const HitboxInfo* nothing : {static_cast<const HitboxInfo*>(nullptr), &empty}) {
        sprite->showHitboxInfo(&info);
        sprite->showHitboxInfo(nothing);
        EXPECT_EQ(boxes.getBoxCount(), 0);
        for (const Quad& quad : quads)
            EXPECT_FALSE(shown(quad.name)) << quad.name;
    }
    // Every change was made on the quads of the first showing.
    EXPECT_EQ(scene()->getMovableObjects("Entity").size(), entities);
    EXPECT_EQ(boxes.getHitboxNode()->numChildren(), 3u);
}

TEST_F(DisplayEntityTest, BoxesStandInTheFightersFrameAndFollowIt) {
    HitboxInfo info;
    info.addBox(AABB(-10, 30, 100, 40), false);
    sprite->setSpritePosition(200, 0);
    sprite->showHitboxInfo(&info);
    EXPECT_FALSE(sprite->getHitboxDisplay()->getHitboxNode()->getInheritScale());
    expectSpan(boxBounds("Tester_BODYBOX_1"), 190, 230, 40, 100);

    sprite->setFlipped(true);
    expectSpan(boxBounds("Tester_BODYBOX_1"), 170, 210, 40, 100);

    // Only the sprite is told; its boxes come along.
    sprite->setSpritePosition(-50, 5);
    expectSpan(boxBounds("Tester_BODYBOX_1"), -80, -40, 45, 105);
    const Ogre::AxisAlignedBox engineBounds =
        scene()->getEntity("Tester_BODYBOX_1")->getWorldBoundingBox(true);
    EXPECT_NEAR(engineBounds.getCenter().x, -60, 1e-3);
    EXPECT_NEAR(engineBounds.getCenter().y, 75, 1e-3);
}

TEST_F(DisplayEntityTest, DestructorTakesSpriteAndBoxesOutOfTheScene) {
    HitboxInfo info;
    info.addBox(AABB(0, 10, 10, 0), true);
    sprite->showHitboxInfo(&info);
    const std::size_t nodesBefore = scene()->getRootSceneNode()->numChildren();

    sprite.reset();
    EXPECT_FALSE(scene()->hasEntity("TesterDisplayEntity"));
    EXPECT_FALSE(scene()->hasEntity("Tester_ATTACKBOX_1"));
    EXPECT_EQ(scene()->getRootSceneNode()->numChildren(), nodesBefore - 1);

    // The same fighter can be built again.
    ASSERT_NO_THROW(sprite = std::make_unique<DisplayEntity>(scene(), "Tester", health.get()));
    sprite->showHitboxInfo(&info);
    EXPECT_TRUE(scene()->hasEntity("Tester_ATTACKBOX_1"));
}

} // namespace
