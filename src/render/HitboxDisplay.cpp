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

const std::vector<AABB> noBoxes;

bool sameBox(const AABB& a, const AABB& b) {
    return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom;
}

// The overlay quad's origin is its top-left corner and it spans one unit right and down.
void place(Ogre::SceneNode* node, const AABB& box) {
    node->setPosition(box.left, box.top, 0);
    node->setScale(box.right - box.left, box.top - box.bottom, 1);
}

} // namespace

HitboxDisplay::HitboxDisplay(std::string name, Ogre::SceneManager* sceneManager,
                             Ogre::SceneNode* parentNode)
    : sceneManager(sceneManager),
      hitboxNode(parentNode->createChildSceneNode(Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY)),
      namePrefix(std::move(name)),
      attack{"_ATTACKBOX_", "RedOverlay.mesh", attackQueueGroup, {}},
      body{"_BODYBOX_", "GreenOverlay.mesh", bodyQueueGroup, {}} {
    // The sprite node is scaled to the sprite's size; boxes are in world units.
    hitboxNode->setInheritScale(false);
}

HitboxDisplay::~HitboxDisplay() {
    hitboxNode->removeAndDestroyAllChildren();
    for (const QuadSet* set : {&attack, &body}) {
        for (const BoxQuad& quad : set->quads)
            sceneManager->destroyEntity(quad.entity);
    }
    sceneManager->destroySceneNode(hitboxNode);
}

void HitboxDisplay::showBoxes(const HitboxInfo* info) {
    show(attack, info ? info->attackBoxes : noBoxes);
    show(body, info ? info->bodyBoxes : noBoxes);
}

void HitboxDisplay::clearBoxes() { showBoxes(nullptr); }

void HitboxDisplay::show(QuadSet& set, const std::vector<AABB>& boxes) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (i == set.quads.size())
            set.quads.push_back(makeQuad(set, boxes[i]));
        BoxQuad& quad = set.quads[i];
        if (!sameBox(quad.box, boxes[i])) {
            quad.box = boxes[i];
            place(quad.node, quad.box);
        }
        if (i >= set.shown)
            quad.entity->setVisible(true);
    }
    for (std::size_t i = boxes.size(); i < set.shown; ++i)
        set.quads[i].entity->setVisible(false);
    set.shown = boxes.size();
}

HitboxDisplay::BoxQuad HitboxDisplay::makeQuad(const QuadSet& set, const AABB& box) {
    const std::string name =
        namePrefix + set.kind + Ogre::StringConverter::toString(set.quads.size() + 1);
    Ogre::Entity* entity = sceneManager->createEntity(name, set.mesh);
    entity->setRenderQueueGroup(set.queueGroup);
    entity->setVisible(false);
    Ogre::SceneNode* node = hitboxNode->createChildSceneNode();
    node->attachObject(entity);
    place(node, box);
    return {entity, node, box};
}
