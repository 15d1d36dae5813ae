#pragma once

#include <string>
#include <vector>

#include "collision/AABB.h"

namespace Ogre {
class Entity;
class SceneManager;
class SceneNode;
} // namespace Ogre
class HitboxInfo;

// Draws one fighter's boxes: attack boxes red, body boxes green, in the fighter's own frame.
// Owned by the fighter's DisplayEntity. The boxes hang below the sprite node, so they follow
// its position and flip for free. Each box quad is made the first time a box set needs that
// many and kept: later box sets only move, scale, show and hide the quads they find, so a
// change of box set mid-fight costs no engine object and no lookup by name.
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
    // The boxes shown now.
    int getBoxCount() const { return static_cast<int>(attack.shown + body.shown); }

private:
    // One box quad: its own node under the hit-box node, placed and scaled to its box.
    struct BoxQuad {
        Ogre::Entity* entity;
        Ogre::SceneNode* node;
        AABB box;
    };
    // The quads of one kind; the first `shown` of them are visible.
    struct QuadSet {
        const char* kind;
        const char* mesh;
        unsigned char queueGroup;
        std::vector<BoxQuad> quads;
        std::size_t shown = 0;
    };

    void show(QuadSet& set, const std::vector<AABB>& boxes);
    BoxQuad makeQuad(const QuadSet& set, const AABB& box);

    Ogre::SceneManager* sceneManager;
    Ogre::SceneNode* hitboxNode;
    std::string namePrefix;
    QuadSet attack;
    QuadSet body;
};
