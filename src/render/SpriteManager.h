#pragma once

#include <map>
#include <string>
#include <vector>

#include <OgreMaterial.h>

class CharacterData;

// Turns the fighters' sprites into materials. Each fighter's folder is a resource group of its
// own, outside the engine's global pool, so fighters may name their images alike; each sprite's
// material is a clone of the base material "Sprite" showing its own image, named
// "<fighter>/<sprite>". Owned by the Application (or a test) for as long as anything shows a
// fighter; only the fighters of the match are added.
class SpriteManager {
public:
    SpriteManager() = default;
    ~SpriteManager();

    SpriteManager(const SpriteManager&) = delete;
    SpriteManager& operator=(const SpriteManager&) = delete;

    // Makes every sprite's material and loads its image now, so that no sprite's first showing
    // waits for its image in the middle of a fight. A fighter added before is left as it is.
    // Throws the engine's exception when the base material is missing.
    void addFighter(const CharacterData& fighter, const std::string& folder);

    // The material of the fighter's sprite (an index into its sprite list); null for a fighter
    // not added or an index out of its list.
    Ogre::MaterialPtr material(const CharacterData& fighter, int sprite) const;

    static std::string groupOf(const std::string& fighter) { return "Fighter:" + fighter; }

private:
    std::map<std::string, std::vector<Ogre::MaterialPtr>> materials;
    // The fighters whose resource groups this library made, and removes.
    std::vector<std::string> made;
};
