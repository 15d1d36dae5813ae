// The bare engine scene the game's start-up is measured against: a program of the engine's
// libraries only, with the game's window, plug-ins, media and floor, that prints the moment of
// its first picture and ends.

#include <string>

#include <Ogre.h>
#include <unistd.h>

#include "monotonicNow.h"

int main(int, char** argv) {
    const std::string folder = std::string(argv[0]).substr(0, std::string(argv[0]).rfind('/'));
    Ogre::LogManager logs;
    logs.createLog("bare-scene-probe.log", true, false, true);
    Ogre::Root root("", "", "");
    for (const char* plugin : {"RenderSystem_GL", "Plugin_OctreeSceneManager", "Codec_STBI"})
        root.loadPlugin(std::string(VORRAK_PLUGIN_DIR) + "/" + plugin);
    root.setRenderSystem(root.getAvailableRenderers().front());
    root.initialise(false);
    Ogre::RenderWindow* window = root.createRenderWindow("bare scene", 800, 600, false);
    Ogre::SceneManager* scene = root.createSceneManager("OctreeSceneManager");
    Ogre::ResourceGroupManager::getSingleton().addResourceLocation(folder + "/media", "FileSystem");
    Ogre::ResourceGroupManager::getSingleton().initialiseAllResourceGroups();

    scene->setAmbientLight(Ogre::ColourValue::White);
    Ogre::MeshManager::getSingleton().createPlane(
        "GroundPlane", Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME,
        Ogre::Plane(Ogre::Vector3::UNIT_Y, 0), 500, 500, 100, 100, true, 1, 10, 10,
        Ogre::Vector3::UNIT_Z);
    Ogre::Entity* ground = scene->createEntity("GroundPlane", "GroundPlane");
    ground->setMaterialName("Ground");
    scene->getRootSceneNode()->createChildSceneNode()->attachObject(ground);
    Ogre::Camera* camera = scene->createCamera("Main Camera");
    Ogre::SceneNode* cameraNode = scene->getRootSceneNode()->createChildSceneNode();
    cameraNode->attachObject(camera);
    cameraNode->setPosition(0, 80, 300);
    cameraNode->lookAt(Ogre::Vector3(0, 60, 0), Ogre::Node::TS_WORLD);
    camera->setNearClipDistance(0.1f);
    window->addViewport(camera);

    root.renderOneFrame();
    printMonotonicNow();
    // The teardown is not part of the measure.
    _exit(0);
}
