#include "render/SpriteManager.h"

#include <OgreException.h>
#include <OgreMaterialManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreTechnique.h>

#include "anim/CharacterData.h"

namespace {

const char* const baseMaterialName = "Sprite";
// The base material's texture unit that shows the sprite's image.
const char* const imageUnitName = "Image";

// Points every texture unit named "Image" at the image: what the engine's deprecated alias
// call did for a unit aliased "Image". The mipmap count belongs to the texture, not the unit,
// so the one the base material asks for is carried over to the new image.
void showImage(const Ogre::MaterialPtr& material, const std::string& image) {
    for (Ogre::Technique* technique : material->getTechniques()) {
        for (Ogre::Pass* pass : technique->getPasses()) {
            Ogre::TextureUnitState* unit = pass->getTextureUnitState(imageUnitName);
            if (!unit)
                continue;
            const int mipmaps = unit->getNumMipmaps();
            unit->setTextureName(image);
            unit->setNumMipmaps(mipmaps);
        }
    }
}

} // namespace

SpriteManager::~SpriteManager() {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const std::string& fighter : made) {
        for (const Ogre::MaterialPtr& material : materials[fighter])
            Ogre::MaterialManager::getSingleton().remove(material);
        groups.destroyResourceGroup(groupOf(fighter));
    }
}

void SpriteManager::addFighter(const CharacterData& fighter, const std::string& folder) {
    if (materials.count(fighter.name))
        return;
    Ogre::MaterialManager& manager = Ogre::MaterialManager::getSingleton();
    const Ogre::MaterialPtr base = manager.getByName(baseMaterialName);
    if (!base)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND,
                    "The base material \"Sprite\" of the sprite materials does not exist",
                    "SpriteManager::addFighter");
    // Another library of the process (a test's second match) may have made them already: they
    // are the same sprites, and stay its own.
    const std::string group = groupOf(fighter.name);
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (!groups.resourceGroupExists(group)) {
        groups.createResourceGroup(group, false);
        groups.addResourceLocation(folder, "FileSystem", group, false);
        groups.initialiseResourceGroup(group);
        made.push_back(fighter.name);
    }
    std::vector<Ogre::MaterialPtr>& fighterMaterials = materials[fighter.name];
    for (const CharacterData::Sprite& sprite : fighter.sprites) {
        const std::string name = fighter.name + "/" + sprite.name;
        Ogre::MaterialPtr material = manager.getByName(name, group);
        if (!material) {
            material = base->clone(name, true, group);
            showImage(material, sprite.image);
        }
        material->load();
        fighterMaterials.push_back(material);
    }
}

Ogre::MaterialPtr SpriteManager::material(const CharacterData& fighter, int sprite) const {
    const auto found = materials.find(fighter.name);
    if (found == materials.end() || sprite < 0 || sprite >= static_cast<int>(found->second.size()))
        return {};
    return found->second[static_cast<std::size_t>(sprite)];
}
