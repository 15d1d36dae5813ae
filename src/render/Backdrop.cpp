#include "render/Backdrop.h"

#include <string>

#include <OgreEntity.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreRenderQueue.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreTechnique.h>

namespace {

// Half the view's width and height over its distance, for the 45 degree vertical field of view
// of a 4:3 window; a margin over both, so the view never reaches a layer's edge.
constexpr float halfWidthPerDistance = 0.5523f * 1.2f;
constexpr float halfHeightPerDistance = 0.4142f * 1.2f;
// The fight line is looked at from this height.
constexpr float lookHeight = 60;

Ogre::MaterialPtr materialOf(const std::string& image) {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    const std::string name = "Backdrop/" + image;
    Ogre::MaterialPtr material = materials.getByName(name);
    if (material)
        return material;
    material = materials.getByName("Sprite")->clone(name);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setDepthWriteEnabled(true);
    pass->getTextureUnitState(0)->setTextureName(image);
    return material;
}

} // namespace

Backdrop::Backdrop(Ogre::SceneManager* sceneManager, const std::vector<BackdropLayer>& layers,
                   float cameraDistance)
    : sceneManager(sceneManager) {
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const BackdropLayer& layer = layers[i];
        const float distance = cameraDistance + layer.depth;
        const float width = 2 * distance * halfWidthPerDistance;
        const float top = lookHeight + distance * halfHeightPerDistance;
        // Down below the floor too, which hides what is in front of the layer.
        const float bottom = -distance * halfHeightPerDistance;
        Ogre::Entity* entity =
            sceneManager->createEntity("Backdrop" + std::to_string(i), "QuadBottomCenter.mesh");
        entity->setMaterial(materialOf(layer.image));
        entity->setCastShadows(false);
        entity->setRenderQueueGroup(
            static_cast<Ogre::uint8>(Ogre::RENDER_QUEUE_1 + static_cast<int>(i)));
        Ogre::SceneNode* node = sceneManager->getRootSceneNode()->createChildSceneNode(
            Ogre::Vector3(0, bottom, -layer.depth));
        node->setScale(width, top - bottom, 1);
        node->attachObject(entity);
        entities.push_back(entity);
        nodes.push_back(node);
    }
}

Backdrop::~Backdrop() {
    for (Ogre::Entity* entity : entities)
        sceneManager->destroyEntity(entity);
    for (Ogre::SceneNode* node : nodes)
        sceneManager->destroySceneNode(node);
}
