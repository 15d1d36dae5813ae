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
    for (const auto& [fighter, fighterMaterials] : materials) {
        for (const Ogre::MaterialPtr& material : fighterMaterials)
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
    const std::string group = groupOf(fighter.name);
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.createResourceGroup(group, false);
    groups.addResourceLocation(folder, "FileSystem", group, false);
    groups.initialiseResourceGroup(group);

    std::vector<Ogre::MaterialPtr>& made = materials[fighter.name];
    for (const CharacterData::Sprite& sprite : fighter.sprites) {
        Ogre::MaterialPtr material = base->clone(fighter.name + "/" + sprite.name, true, group);
        showImage(material, sprite.image);
        material->load();
        made.push_back(material);
    }
}

Ogre::MaterialPtr SpriteManager::material(const CharacterData& fighter, int sprite) const {
    const auto found = materials.find(fighter.name);
    if (found == materials.end() || sprite < 0 ||
        sprite >= static_cast<int>(found->second.size()))
        return {};
    return found->second[static_cast<std::size_t>(sprite)];
}
