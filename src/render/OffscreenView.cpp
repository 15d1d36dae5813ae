#include "render/OffscreenView.h"

#include <Ogre.h>
#include <Overlay/OgreOverlayManager.h>

namespace {

const char* const textureName = "OffscreenView";
// B, G, R, unused in memory: what the video encoder takes, and no alpha to blend into.
const Ogre::PixelFormat format = Ogre::PF_X8R8G8B8;

} // namespace

OffscreenView::OffscreenView(Ogre::Camera* camera, int width, int height)
    : camera(camera), savedAspect(camera->getAspectRatio()),
      savedPixelRatio(Ogre::OverlayManager::getSingleton().getPixelRatio()),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4),
      picture(static_cast<Ogre::uint32>(width), static_cast<Ogre::uint32>(height), 1, format,
              pixels.data()) {
    texture = Ogre::TextureManager::getSingleton().createManual(
        textureName, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, Ogre::TEX_TYPE_2D,
        static_cast<Ogre::uint>(width), static_cast<Ogre::uint>(height), 0, format,
        Ogre::TU_RENDERTARGET);
    target = texture->getBuffer()->getRenderTarget();
    target->setAutoUpdated(false);
    target->addViewport(camera);
    camera->setAspectRatio(static_cast<Ogre::Real>(width) / static_cast<Ogre::Real>(height));
    Ogre::OverlayManager::getSingleton().setPixelRatio(static_cast<float>(height) / windowHeight);
}

OffscreenView::~OffscreenView() {
    target->removeAllViewports();
    Ogre::TextureManager::getSingleton().remove(texture);
    camera->setAspectRatio(savedAspect);
    Ogre::OverlayManager::getSingleton().setPixelRatio(savedPixelRatio);
}

void OffscreenView::draw() { target->update(false); }

const Ogre::PixelBox& OffscreenView::readBack() {
    target->copyContentsToMemory(picture, picture);
    return picture;
}
