#include <Ogre.h>

#include "render/Hud.h"
#include "support/EngineEnvironment.h"
#include "support/MatchFixture.h"

namespace {

// What the window shows, read back after rendering one frame.
class Screen {
public:
    Screen() : image(Ogre::PF_BYTE_RGBA, 800, 600) {
        EngineEnvironment::renderFrame();
        EngineEnvironment::app().getWindow()->copyContentsToMemory(image.getPixelBox(),
                                                                   image.getPixelBox());
    }

    // Pixels of the fighters' white gi and of the HUD's white text inside a rectangle.
    int whitePixels(int left, int top, int right, int bottom) const {
        EXPECT_TRUE(0 <= left && left < right && right <= 800) << left << " " << right;
        EXPECT_TRUE(0 <= top && top < bottom && bottom <= 600) << top << " " << bottom;
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const Ogre::ColourValue c = image.getColourAt(x, y, 0);
                count += c.r > 0.9f && c.g > 0.9f && c.b > 0.9f;
            }
        }
        return count;
    }

private:
    Ogre::Image image;
};

// Where a point of the fight plane appears in the window, in pixels.
Ogre::Vector2 onScreen(float x, float y) {
    const Ogre::Camera* camera = EngineEnvironment::app().getCamera();
    const Ogre::Vector3 ndc =
        camera->getProjectionMatrix() * (camera->getViewMatrix() * Ogre::Vector3(x, y, 0));
    return {(ndc.x + 1) / 2 * 800, (1 - ndc.y) / 2 * 600};
}

} // namespace

using MatchScreenTest = MatchFixture;

TEST_F(MatchScreenTest, BothFightersStandWhereTheirPositionsPutThem) {
    step();
    const Screen screen;
    EngineEnvironment::screenshot("match-start");
    for (float x : {-80.0f, 50.0f}) {
        SCOPED_TRACE(x);
        // The sprite's middle third, between its feet and the top of its head.
        const Ogre::Vector2 feet = onScreen(x - 25, 5);
        const Ogre::Vector2 head = onScreen(x + 25, 95);
        EXPECT_GT(screen.whitePixels(feet.x, head.y, head.x, feet.y), 500);
    }
    // Nobody stands beyond the second fighter's sprite.
    const Ogre::Vector2 feet = onScreen(140, 5);
    const Ogre::Vector2 head = onScreen(160, 95);
    EXPECT_EQ(screen.whitePixels(feet.x, head.y, head.x, feet.y), 0);
}

TEST_F(MatchScreenTest, TheInputPanelShowsRowsOnceShown) {
    // The first panel's top rows, above the fighters' heads.
    const int left = 80, top = 60, right = 320, bottom = 180;
    step();
    EXPECT_EQ(Screen().whitePixels(left, top, right, bottom), 0);

    game->showInputPanels();
    keyboard.press(OIS::KC_S);
    step(2);
    keyboard.press(OIS::KC_A);
    step(2);
    keyboard.release(OIS::KC_S);
    step(2);
    const Screen screen;
    EngineEnvironment::screenshot("input-panel");
    EXPECT_EQ(game->hud->getInputDataDisplay(0)->panel.rowCount, 3);
    EXPECT_GT(screen.whitePixels(left, top, right, bottom), 300);
}
