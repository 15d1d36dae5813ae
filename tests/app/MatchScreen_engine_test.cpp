#include <Ogre.h>
#include <Overlay/OgreOverlayElement.h>
#include <Overlay/OgreOverlayManager.h>

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

    float luma(int x, int y) const {
        const Ogre::ColourValue c = image.getColourAt(x, y, 0);
        return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
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
    EXPECT_EQ(game->panels[0].panel.rowCount, 3);
    EXPECT_GT(screen.whitePixels(left, top, right, bottom), 300);
}

// A full panel runs down over the first fighter; its white glyphs must stay readable on the
// white clothing behind them, which only a dark edge round each glyph can do.
TEST_F(MatchScreenTest, InputPanelGlyphsStandOutOverTheFightersClothes) {
    place(-125, 50);
    game->showInputPanels();
    // Directions that keep the fighter standing where it is, a new row on every step.
    const std::vector<std::vector<OIS::KeyCode>> inputs = {
        {OIS::KC_S}, {OIS::KC_W}, {OIS::KC_S, OIS::KC_A}, {OIS::KC_W, OIS::KC_D}};
    for (int row = 0; row <= InputDataDisplay::maxRows; ++row) {
        keyboard.releaseAll();
        for (OIS::KeyCode key : inputs[row % inputs.size()])
            keyboard.press(key);
        step();
    }
    ASSERT_EQ(game->panels[0].panel.rowCount, InputDataDisplay::maxRows);

    // The same moment with and without the rows.
    Ogre::OverlayElement* rows = Ogre::OverlayManager::getSingleton().getOverlayElement("InputDataRows1");
    rows->hide();
    const Screen behind;
    rows->show();
    const Screen shown;
    EngineEnvironment::screenshot("input-panel-over-fighter");

    // The first panel's rows: 15 of 20 pixels from its top-left corner, each at most eight
    // glyphs of 15 pixels.
    int white = 0, darkened = 0;
    for (int y = 60; y < 360; ++y) {
        for (int x = 80; x < 200; ++x) {
            const float before = behind.luma(x, y);
            if (before < 0.75f)
                continue;
            ++white;
            darkened += shown.luma(x, y) < before - 0.4f;
        }
    }
    ASSERT_GT(white, 2000) << "the rows should run over the fighter's clothes";
    EXPECT_GT(darkened, white / 20) << darkened << " of " << white;
}
