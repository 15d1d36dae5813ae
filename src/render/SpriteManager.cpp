#include "render/SpriteManager.h"

#include <OgreConfigFile.h>
#include <OgreException.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreTechnique.h>

template <> SpriteManager* Ogre::Singleton<SpriteManager>::msSingleton = nullptr;

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

SpriteManager::SpriteManager(const std::string& tablePath) {
    Ogre::ConfigFile file;
    file.load(tablePath, "\t:=", true);
    // Sections only group lines; a sprite named twice takes the last value visited, and the
    // reader visits sections in byte-wise order of their names.
    for (const auto& section : file.getSettingsBySection()) {
        for (const auto& setting : section.second) {
            // A line with an empty name or image would clone a material without a usable name
            // or texture; the sprite falls back to the base material instead.
            if (setting.first.empty() || setting.second.empty()) {
                Ogre::LogManager::getSingleton().logWarning(
                    tablePath + ": ignoring a sprite line with an empty name or image");
                continue;
            }
            spriteTable[setting.first] = setting.second;
        }
    }
}

Ogre::MaterialPtr SpriteManager::getSpriteMaterial(std::string name) {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    Ogre::MaterialPtr existing = materials.getByName(name);
    if (existing)
        return existing;

    Ogre::MaterialPtr base = materials.getByName(baseMaterialName);
    if (!base)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND,
                    "The base material \"Sprite\" of the sprite materials does not exist",
                    "SpriteManager::getSpriteMaterial");

    const auto entry = spriteTable.find(name);
    if (entry == spriteTable.end())
        return base;

    Ogre::MaterialPtr material = base->clone(name);
    showImage(material, entry->second);
    return material;
}

void SpriteManager::loadAllSprites() {
    for (const auto& sprite : spriteTable)
        getSpriteMaterial(sprite.first)->load();
}
