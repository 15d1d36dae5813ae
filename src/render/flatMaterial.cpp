#include "render/flatMaterial.h"

#include <OgreImage.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>

Ogre::MaterialPtr flatMaterial(const std::string& name, const Ogre::ColourValue& colour) {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (Ogre::MaterialPtr existing = materials.getByName(name))
        return existing;
    const std::string group = Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME;
    Ogre::Image pixel;
    pixel.create(Ogre::PF_BYTE_RGBA, 1, 1);
    pixel.setColourAt(colour, 0, 0, 0);
    Ogre::TextureManager::getSingleton().loadImage(name, group, pixel, Ogre::TEX_TYPE_2D, 0);
    Ogre::MaterialPtr material = materials.create(name, group);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setLightingEnabled(false);
    pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    pass->setDepthWriteEnabled(false);
    pass->createTextureUnitState(name)->setTextureFiltering(Ogre::TFO_NONE);
    return material;
}
