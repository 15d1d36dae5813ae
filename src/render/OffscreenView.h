#pragma once

#include <cstdint>
#include <vector>

#include <OgrePixelFormat.h>
#include <OgreTexture.h>

namespace Ogre {
class Camera;
class RenderTexture;
} // namespace Ogre

// The game's picture drawn off the screen: the camera's view of the scene with the HUD on it,
// into a texture of its own size, and read back for a video. At the window's 800 by 600 it is
// the window's picture, pixel for pixel; at other sizes the camera sees as much height and as
// much more width as the shape asks, and the HUD grows with the height. Owned by the export; the
// camera and the scene belong to the engine. While it exists it sets the camera's aspect and the
// HUD's scale, and puts them back when it goes.
class OffscreenView {
public:
    static constexpr int windowHeight = 600;

    OffscreenView(Ogre::Camera* camera, int width, int height);
    ~OffscreenView();

    OffscreenView(const OffscreenView&) = delete;
    OffscreenView& operator=(const OffscreenView&) = delete;

    // Draws the scene as it stands now.
    void draw();
    // The picture last drawn: four bytes a pixel (blue, green, red, unused), top row first.
    const Ogre::PixelBox& readBack();

private:
    Ogre::Camera* camera;
    Ogre::Real savedAspect;
    float savedPixelRatio;
    Ogre::TexturePtr texture;
    Ogre::RenderTexture* target = nullptr;
    std::vector<std::uint8_t> pixels;
    Ogre::PixelBox picture;
};
