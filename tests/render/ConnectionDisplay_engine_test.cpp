#include <Ogre.h>
#include <gtest/gtest.h>

#include "render/ConnectionDisplay.h"
#include "support/EngineEnvironment.h"

namespace {

// White text pixels in a rectangle of the window, after drawing a frame.
int whitePixels(int left, int top, int right, int bottom) {
    Ogre::Image image(Ogre::PF_BYTE_RGBA, 800, 600);
    EngineEnvironment::renderFrame();
    EngineEnvironment::app().getWindow()->copyContentsToMemory(image.getPixelBox(), image.getPixelBox());
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const Ogre::ColourValue c = image.getColourAt(static_cast<std::size_t>(x), static_cast<std::size_t>(y), 0);
            count += c.r > 0.8f && c.g > 0.8f && c.b > 0.8f;
        }
    return count;
}

} // namespace

// The notice of a recording that failed, with a long file name, goes on in the lines under it
// instead of running off the window's right edge.
TEST(ConnectionDisplayTest, ALongNoticeFitsTheWindow) {
    ConnectionDisplay notice(1);
    notice.show("Recording into '/home/player/matches/a-rather-long-folder-name/m.vrp' failed: "
                "No space left on device. The match plays on.");
    EXPECT_EQ(whitePixels(786, 30, 800, 140), 0);
    EXPECT_GT(whitePixels(16, 62, 786, 84), 100);
}
