#include "render/DisplayEntity.h"

#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "render/HealthDisplay.h"
#include "render/HitboxDisplay.h"

namespace {

const Ogre::Vector3 spriteSize(157, 116, 1);
const Ogre::uint8 inFrontQueueGroup = 60;
const Ogre::uint8 behindQueueGroup = 50;
// A half turn about the vertical axis through the fighter's position: mirrors the sprite left
// to right and keeps its bottom centre where it is.
const Ogre::Quaternion flipOrientation(0, 0, 1, 0);

} // namespace

DisplayEntity::DisplayEntity(Ogre::SceneManager* sceneManager, std::string name,
                             HealthDisplay* healthDisplay)
    : sceneManager(sceneManager), healthDisplay(healthDisplay) {
    node = sceneManager->getRootSceneNode()->createChildSceneNode(Ogre::Vector3::ZERO,
                                                                  Ogre::Quaternion::IDENTITY);
    entity = sceneManager->createEntity(name + "DisplayEntity", "QuadBottomCenter.mesh");
    entity->setRenderQueueGroup(inFrontQueueGroup);
    node->attachObject(entity);
    node->setScale(spriteSize);
    hitboxDisplay = std::make_unique<HitboxDisplay>(name, sceneManager, node);
}

DisplayEntity::~DisplayEntity() {
    // The boxes hang below the sprite node, so they go first.
    hitboxDisplay.reset();
    sceneManager->destroyEntity(entity);
    sceneManager->destroySceneNode(node);
}

void DisplayEntity::setSpriteMaterial(Ogre::MaterialPtr material) {
    entity->setMaterial(material);
}

void DisplayEntity::setSpritePosition(float x, float y) {
    // Called every step; a fighter standing still costs no engine call.
    const Ogre::Vector3 position(x, y, 0);
    if (position == node->getPosition())
        return;
    node->setPosition(position);
}

void DisplayEntity::setFlipped(bool flipped) {
    node->setOrientation(flipped ? flipOrientation : Ogre::Quaternion::IDENTITY);
}

void DisplayEntity::setInFront(bool inFront) {
    if (inFront == this->inFront)
        return;
    this->inFront = inFront;
    entity->setRenderQueueGroup(inFront ? inFrontQueueGroup : behindQueueGroup);
}

void DisplayEntity::setHealth(int health) {
    if (healthDisplay)
        healthDisplay->setHealth(health);
}

void DisplayEntity::setVisible(bool visible) {
    node->setVisible(visible);
}

void DisplayEntity::showHitboxInfo(const HitboxInfo* info) {
    hitboxDisplay->showBoxes(info);
}
