#include "render/HitboxDisplay.h"

#include <utility>

#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreStringConverter.h>

#include "collision/HitboxInfo.h"

namespace {

// Attack boxes are drawn over body boxes, and both over the sprites (groups 50 and 60).
const Ogre::uint8 attackQueueGroup = 90;
const Ogre::uint8 bodyQueueGroup = 80;

} // namespace

HitboxDisplay::HitboxDisplay(std::string name, Ogre::SceneManager* sceneManager,
                             Ogre::SceneNode* parentNode)
    : sceneManager(sceneManager),
      hitboxNode(parentNode->createChildSceneNode(Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY)),
      namePrefix(std::move(name)) {
    // The sprite node is scaled to the sprite's size; boxes are in world units.
    hitboxNode->setInheritScale(false);
}

HitboxDisplay::~HitboxDisplay() {
    clearBoxes();
    sceneManager->destroySceneNode(hitboxNode);
}

void HitboxDisplay::showBoxes(const HitboxInfo* info) {
    clearBoxes();
    if (!info)
        return;
    for (const AABB& box : info->attackBoxes)
        addBoxEntity(true, box);
    for (const AABB& box : info->bodyBoxes)
        addBoxEntity(false, box);
}

void HitboxDisplay::clearBoxes() {
    if (boxCount == 0)
        return;
    hitboxNode->removeAndDestroyAllChildren();
    for (int number = 1; number <= boxCount; ++number)
        sceneManager->destroyEntity(boxName(number));
    boxCount = 0;
}

void HitboxDisplay::addBoxEntity(bool attack, AABB box) {
    ++boxCount;
    Ogre::Entity* entity = sceneManager->createEntity(
        boxName(boxCount), attack ? "RedOverlay.mesh" : "GreenOverlay.mesh");
    entity->setRenderQueueGroup(attack ? attackQueueGroup : bodyQueueGroup);

    // The overlay quad's origin is its top-left corner and it spans one unit right and down.
    Ogre::SceneNode* node = hitboxNode->createChildSceneNode(Ogre::Vector3(box.left, box.top, 0),
                                                             Ogre::Quaternion::IDENTITY);
    node->setScale(box.right - box.left, box.top - box.bottom, 1);
    node->attachObject(entity);
}

std::string HitboxDisplay::boxName(int number) const {
    return namePrefix + "_HITBOX_" + Ogre::StringConverter::toString(number);
}
