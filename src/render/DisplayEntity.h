#pragma once

#include <memory>
#include <string>

#include <OgreMaterial.h>

namespace Ogre {
class Entity;
class SceneManager;
class SceneNode;
} // namespace Ogre
class HealthDisplay;
class HitboxDisplay;
class HitboxInfo;

// The on-screen body of one fighter: a sprite quad standing on the fight plane, its hit-box
// overlay and the link to its health readout on the HUD (none for a projectile's). Each Player
// creates and owns one. The destructor removes the sprite from the scene so a new match can build
// it again.
class DisplayEntity {
public:
    DisplayEntity(Ogre::SceneManager* sceneManager, std::string name, HealthDisplay* healthDisplay);
    ~DisplayEntity();

    DisplayEntity(const DisplayEntity&) = delete;
    DisplayEntity& operator=(const DisplayEntity&) = delete;

    void setSpriteMaterial(Ogre::MaterialPtr material);
    // (x, y) is the bottom centre of the sprite on the fight plane.
    void setSpritePosition(float x, float y);
    // true: the fighter faces -x, and the sprite, drawn facing +x, is mirrored.
    void setFlipped(bool flipped);
    // A sprite in front covers the other where they overlap. Cheap when unchanged.
    void setInFront(bool inFront);
    void setHealth(int health);
    // Null removes the boxes.
    void showHitboxInfo(const HitboxInfo* info);
    // Shows or hides the sprite and its boxes together.
    void setVisible(bool visible);

    Ogre::SceneNode* getNode() const { return node; }
    Ogre::Entity* getEntity() const { return entity; }
    const HitboxDisplay* getHitboxDisplay() const { return hitboxDisplay.get(); }

private:
    Ogre::SceneManager* sceneManager;
    Ogre::SceneNode* node;
    Ogre::Entity* entity;
    std::unique_ptr<HitboxDisplay> hitboxDisplay;
    HealthDisplay* healthDisplay;
    bool inFront = true;
};
