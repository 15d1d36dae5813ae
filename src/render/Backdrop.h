#pragma once

#include <vector>

#include "roster/BackdropLayer.h"

namespace Ogre {
class Entity;
class SceneManager;
class SceneNode;
} // namespace Ogre

// A stage's backdrop on screen: each image layer an upright quad behind the fight line at its
// depth, wide and tall enough to fill the camera's view there, so that seen through the
// perspective camera a far layer moves less than a near one as the view moves. Drawn before
// everything else, farthest first, writing depth where it is not clear, so the floor ends at a
// near layer. Owned by whoever shows the stage; made anew for another stage.
class Backdrop {
public:
    // cameraDistance: from the camera to the fight line, whose view spans the stage's walls.
    Backdrop(Ogre::SceneManager* sceneManager, const std::vector<BackdropLayer>& layers,
             float cameraDistance);
    ~Backdrop();

    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

    int layerCount() const { return static_cast<int>(entities.size()); }

private:
    Ogre::SceneManager* sceneManager;
    std::vector<Ogre::Entity*> entities;
    std::vector<Ogre::SceneNode*> nodes;
};
