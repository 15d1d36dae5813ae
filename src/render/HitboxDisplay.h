#pragma once

#include <string>

#include "collision/AABB.h"

namespace Ogre {
class SceneManager;
class SceneNode;
} // namespace Ogre
class HitboxInfo;

// Draws one fighter's boxes: attack boxes red, body boxes green, in the fighter's own frame.
// Owned by the fighter's DisplayEntity. The boxes hang below the sprite node, so they follow
// its position and flip for free and are rebuilt only when the shown box set changes.
class HitboxDisplay {
public:
    HitboxDisplay(std::string name, Ogre::SceneManager* sceneManager, Ogre::SceneNode* parentNode);
    ~HitboxDisplay();

    HitboxDisplay(const HitboxDisplay&) = delete;
    HitboxDisplay& operator=(const HitboxDisplay&) = delete;

    // Replaces whatever is shown by the boxes of info; null shows nothing.
    void showBoxes(const HitboxInfo* info);
    void clearBoxes();

    Ogre::SceneNode* getHitboxNode() const { return hitboxNode; }
    int getBoxCount() const { return boxCount; }

private:
    void addBoxEntity(bool attack, AABB box);
    std::string boxName(int number) const;

    Ogre::SceneManager* sceneManager;
    Ogre::SceneNode* hitboxNode;
    int boxCount = 0;
    std::string namePrefix;
};
