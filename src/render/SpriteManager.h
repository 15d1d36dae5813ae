#pragma once

#include <map>
#include <string>

#include <OgreMaterial.h>
#include <OgreSingleton.h>

// Turns sprite names into materials. The sprite table (name to image file) is read once from
// the sprite file; each sprite's material is a clone of the base material "Sprite" showing its
// own image, made on first request and kept by the engine's material manager under the
// sprite's name. One instance per process, created by the Application before the Game.
class SpriteManager : public Ogre::Singleton<SpriteManager> {
public:
    // tablePath is opened directly, not through the resource groups.
    explicit SpriteManager(const std::string& tablePath = "sprites.cfg");

    // An existing material of that name as it is; else the sprite's own material; else, for a
    // name the table does not know, the base material itself. Throws the engine's exception
    // when a material has to be made and the base material is missing.
    Ogre::MaterialPtr getSpriteMaterial(std::string name);

    // Makes every sprite's material and loads its image now. The start-up calls it once, so
    // that no sprite's first showing waits for its image in the middle of a fight.
    void loadAllSprites();

private:
    std::map<std::string, std::string> spriteTable;
};
