#include <memory>
#include <string>

#include <Ogre.h>
#include <Overlay/OgreFont.h>
#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>
#include <gtest/gtest.h>

#include "input/InputPanel.h"
#include "render/Hud.h"
#include "support/EngineEnvironment.h"
#include "support/InputFrames.h"

namespace {

Ogre::OverlayManager& overlays() {
    return Ogre::OverlayManager::getSingleton();
}

Ogre::OverlayElement* element(const std::string& name) {
    return overlays().getOverlayElement(name);
}

std::string caption(const std::string& name) {
    return element(name)->getCaption();
}

class HudTest : public ::testing::Test {
protected:
    void SetUp() override { hud = std::make_unique<Hud>(); }

    // Feeds count frames, numbered on from the last, to the player's panel as the input history
    // would, each shown as a picture after its step would show it.
    void feed(int player, const InputFrame& input, int count = 1) {
        for (int i = 0; i < count; ++i) {
            InputFrame numbered = input;
            numbered.frameNumber = ++frameNumber;
            panels[player].addFrame(numbered);
            hud->getInputDataDisplay(player)->show(panels[player].panel);
        }
    }
    void setVisible(int player, bool visible) {
        panels[player].setVisible(visible);
        hud->getInputDataDisplay(player)->show(panels[player].panel);
    }

    std::unique_ptr<Hud> hud;
    InputPanel panels[2];
    int frameNumber = 0;
};

struct ExpectedPanel {
    const char* panel;
    const char* text;
    Ogre::Real left, top, width, height, charHeight;
};

TEST_F(HudTest, BuildsTheOverlayAndItsEightElements) {
    const ExpectedPanel expected[] = {
        {"InputDataPanel1", "InputDataRows1", 0.1f, 0.1f, 0.3f, 0.5f, 20},
        {"InputDataPanel2", "InputDataRows2", 0.6f, 0.1f, 0.3f, 0.5f, 20},
        {"Health1", "HealthText1", 0.2f, 0.8f, 0.2f, 0.1f, 40},
        {"Health2", "HealthText2", 0.6f, 0.8f, 0.2f, 0.1f, 40},
    };
    Ogre::Overlay* overlay = overlays().getByName("OverlayName");
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(overlay->isVisible());
    const Ogre::Overlay::OverlayContainerList& roots = overlay->get2DElements();
    ASSERT_EQ(roots.size(), 4u);

    auto root = roots.begin();
    for (const ExpectedPanel& panelLayout : expected) {
        SCOPED_TRACE(panelLayout.panel);
        Ogre::OverlayElement* panel = element(panelLayout.panel);
        EXPECT_EQ(*root++, panel);
        EXPECT_EQ(panel->getTypeName(), "Panel");
        EXPECT_EQ(panel->getMetricsMode(), Ogre::GMM_RELATIVE);
        EXPECT_FLOAT_EQ(panel->getLeft(), panelLayout.left);
        EXPECT_FLOAT_EQ(panel->getTop(), panelLayout.top);
        EXPECT_FLOAT_EQ(panel->getWidth(), panelLayout.width);
        EXPECT_FLOAT_EQ(panel->getHeight(), panelLayout.height);

        auto* text = static_cast<Ogre::TextAreaOverlayElement*>(element(panelLayout.text));
        EXPECT_EQ(text->getTypeName(), "TextArea");
        EXPECT_EQ(text->getParent(), panel);
        EXPECT_EQ(text->getMetricsMode(), Ogre::GMM_PIXELS);
        EXPECT_FLOAT_EQ(text->getCharHeight(), panelLayout.charHeight);
        EXPECT_FLOAT_EQ(text->getLeft(), 0);
        EXPECT_FLOAT_EQ(text->getTop(), 0);
        ASSERT_TRUE(text->getFont());
        EXPECT_EQ(text->getFont()->getName(), "SpecialChars");
    }
}

TEST_F(HudTest, DestroyingTheHudRemovesOverlayAndElements) {
    hud.reset();
    EXPECT_EQ(overlays().getByName("OverlayName"), nullptr);
    for (const char* name : {"InputDataPanel1", "InputDataRows1", "InputDataPanel2",
                             "InputDataRows2", "Health1", "HealthText1", "Health2", "HealthText2"})
        EXPECT_FALSE(overlays().hasOverlayElement(name)) << name;

    // A new match builds everything again under the same names.
    ASSERT_NO_THROW(hud = std::make_unique<Hud>());
    EXPECT_NE(overlays().getByName("OverlayName"), nullptr);
}

TEST_F(HudTest, RowsShowDirectionButtonsAndTheFrameCount) {
    setVisible(0, true);
    // Right held from the first frame, the first button pressed in the 31st.
    feed(0, frameOf(Direction::Right), 30);
    feed(0, frameOf(Direction::Right, true));
    feed(0, frameOf(Direction::Right), 5);
    EXPECT_EQ(caption("InputDataRows1"), "d    32\n"
                                         "d y  31\n"
                                         "d    1\n");

    setVisible(1, true);
    feed(1, frameOf(Direction::Neutral));
    feed(1, frameOf(Direction::Neutral, false, true));
    // Letting go adds no row, but the same press after it does.
    feed(1, frameOf(Direction::Neutral));
    feed(1, frameOf(Direction::Neutral, false, true));
    feed(1, frameOf(Direction::DownLeft, true, true));
    feed(1, frameOf(static_cast<Direction::eDirection>(9), true));
    EXPECT_EQ(caption("InputDataRows2"), "  y  6\n"
                                         "z yh 5\n"
                                         "  h  4\n"
                                         "  h  2\n");
    EXPECT_EQ(caption("InputDataRows1").substr(0, 8), "d    32\n");
}

TEST_F(HudTest, AtMostFifteenRowsNewestOnTop) {
    setVisible(0, true);
    for (int i = 1; i <= 16; ++i)
        feed(0, frameOf(i % 2 ? Direction::Up : Direction::Down));

    std::string expected;
    for (int i = 16; i >= 2; --i)
        expected += std::string(i % 2 ? "w" : "x") + "    " + std::to_string(i) + "\n";
    EXPECT_EQ(caption("InputDataRows1"), expected);
}

TEST_F(HudTest, HidingEmptiesThePanelAndRestartsTheCount) {
    setVisible(0, true);
    feed(0, frameOf(Direction::Left), 3);
    ASSERT_EQ(caption("InputDataRows1"), "a    1\n");

    setVisible(0, false);
    EXPECT_EQ(caption("InputDataRows1"), "");
    EXPECT_FALSE(element("InputDataRows1")->isVisible());
    // Nothing is counted or shown while hidden.
    feed(0, frameOf(Direction::Up), 4);
    EXPECT_EQ(caption("InputDataRows1"), "");

    setVisible(0, true);
    EXPECT_TRUE(element("InputDataRows1")->isVisible());
    // Left is still the last input seen, so it adds no row until the input changes.
    feed(0, frameOf(Direction::Left), 2);
    EXPECT_EQ(caption("InputDataRows1"), "");
    feed(0, frameOf(Direction::UpLeft));
    EXPECT_EQ(caption("InputDataRows1"), "q    3\n");
}

TEST_F(HudTest, HealthCaptionsAreTheDecimalHealth) {
    hud->getHealthDisplay(0)->setHealth(1000);
    hud->getHealthDisplay(1)->setHealth(-50);
    EXPECT_EQ(caption("HealthText1"), "1000");
    EXPECT_EQ(caption("HealthText2"), "-50");
    hud->getHealthDisplay(0)->setHealth(0);
    EXPECT_EQ(caption("HealthText1"), "0");
}

} // namespace
