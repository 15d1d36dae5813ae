#include "render/Hud.h"

#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

#include "render/HealthDisplay.h"
#include "render/InputDataDisplay.h"
#include "render/RoundDisplay.h"

namespace {

const char* const overlayName = "OverlayName";
const char* const fontName = "SpecialChars";
// The texts of a versus match, on an overlay of their own drawn over the first.
const char* const roundOverlayName = "RoundOverlay";
const char* const letterFontName = "BannerChars";
// The middle of the 800-pixel window, where centred texts are centred.
const Ogre::Real windowCentre = 400;

// A panel placed in fractions of the viewport, with one text area at its top-left corner.
struct HudPanel {
    const char* panelName;
    const char* textName;
    Ogre::Real left, top, width, height;
    Ogre::Real charHeight;
};

// In order of creation and of adding to the overlay.
const HudPanel panels[] = {
    {"InputDataPanel1", "InputDataRows1", 0.1f, 0.1f, 0.3f, 0.5f, 20},
    {"InputDataPanel2", "InputDataRows2", 0.6f, 0.1f, 0.3f, 0.5f, 20},
    {"Health1", "HealthText1", 0.2f, 0.8f, 0.2f, 0.1f, 40},
    {"Health2", "HealthText2", 0.6f, 0.8f, 0.2f, 0.1f, 40},
};

// A text of a versus match: centred on the window's middle or starting at its panel's left.
struct RoundText {
    HudPanel layout;
    bool centred;
};

// The clock (below the line of online play), the first and second player's round wins (under
// their health), the banner and the line beneath it, and the combos the first and second player
// deal (under the input panels, above the lab's frame meter), in the order RoundDisplay takes
// them.
const RoundText roundTexts[RoundDisplay::captionCount] = {
    {{"RoundTimer", "RoundTimerText", 0.0f, 0.05f, 1.0f, 0.1f, 48}, true},
    {{"RoundWins1", "RoundWinsText1", 0.2f, 0.885f, 0.2f, 0.05f, 22}, false},
    {{"RoundWins2", "RoundWinsText2", 0.6f, 0.885f, 0.2f, 0.05f, 22}, false},
    {{"RoundBanner", "RoundBannerText", 0.0f, 0.3f, 1.0f, 0.12f, 64}, true},
    {{"RoundDetail", "RoundDetailText", 0.0f, 0.43f, 1.0f, 0.06f, 26}, true},
    {{"Combo1", "ComboText1", 0.1f, 0.62f, 0.3f, 0.05f, 26}, false},
    {{"Combo2", "ComboText2", 0.6f, 0.62f, 0.3f, 0.05f, 26}, false},
};

Ogre::TextAreaOverlayElement* createElements(const HudPanel& layout, const char* font = fontName) {
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();

    Ogre::OverlayElement* panel = overlays.createOverlayElement("Panel", layout.panelName);
    panel->setMetricsMode(Ogre::GMM_RELATIVE);
    panel->setPosition(layout.left, layout.top);
    panel->setDimensions(layout.width, layout.height);

    auto* text = static_cast<Ogre::TextAreaOverlayElement*>(
        overlays.createOverlayElement("TextArea", layout.textName));
    text->setMetricsMode(Ogre::GMM_PIXELS);
    text->setCharHeight(layout.charHeight);
    text->setFontName(font);
    return text;
}

Ogre::OverlayContainer* panelNamed(const char* name) {
    return static_cast<Ogre::OverlayContainer*>(
        Ogre::OverlayManager::getSingleton().getOverlayElement(name));
}

Ogre::TextAreaOverlayElement* textAreaNamed(const char* name) {
    return static_cast<Ogre::TextAreaOverlayElement*>(
        Ogre::OverlayManager::getSingleton().getOverlayElement(name));
}

} // namespace

Hud::Hud() {
    for (const HudPanel& layout : panels)
        createElements(layout);

    overlay = Ogre::OverlayManager::getSingleton().create(overlayName);
    for (const HudPanel& layout : panels)
        overlay->add2D(panelNamed(layout.panelName));
    for (const HudPanel& layout : panels)
        panelNamed(layout.panelName)->addChild(textAreaNamed(layout.textName));
    overlay->show();

    inputDataDisplay1 = std::make_unique<InputDataDisplay>(textAreaNamed(panels[0].textName));
    inputDataDisplay2 = std::make_unique<InputDataDisplay>(textAreaNamed(panels[1].textName));
    healthDisplay1 = std::make_unique<HealthDisplay>(textAreaNamed(panels[2].textName));
    healthDisplay2 = std::make_unique<HealthDisplay>(textAreaNamed(panels[3].textName));
    createRoundDisplay();
}

void Hud::hide() {
    overlay->hide();
    roundOverlay->hide();
}

void Hud::showCaptions(bool shown) {
    if (shown)
        roundOverlay->show();
    else
        roundOverlay->hide();
}

void Hud::createRoundDisplay() {
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    roundOverlay = overlays.create(roundOverlayName);
    // Above the panels and readouts.
    roundOverlay->setZOrder(overlay->getZOrder() + 1);
    Ogre::TextAreaOverlayElement* texts[RoundDisplay::captionCount];
    int i = 0;
    for (const RoundText& roundText : roundTexts) {
        Ogre::TextAreaOverlayElement* text = createElements(roundText.layout, letterFontName);
        if (roundText.centred) {
            text->setAlignment(Ogre::TextAreaOverlayElement::Center);
            text->setPosition(windowCentre, 0);
        }
        Ogre::OverlayContainer* panel = panelNamed(roundText.layout.panelName);
        roundOverlay->add2D(panel);
        panel->addChild(text);
        texts[i++] = text;
    }
    roundOverlay->show();
    roundDisplay = std::make_unique<RoundDisplay>(texts);
}

Hud::~Hud() {
    // Each text area leaves its panel and each panel leaves the overlay as it is destroyed, so
    // children go first and the overlay, empty by then, last.
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    for (const HudPanel& layout : panels)
        overlays.destroyOverlayElement(layout.textName);
    for (const HudPanel& layout : panels)
        overlays.destroyOverlayElement(layout.panelName);
    overlays.destroy(overlay);
    for (const RoundText& text : roundTexts)
        overlays.destroyOverlayElement(text.layout.textName);
    for (const RoundText& text : roundTexts)
        overlays.destroyOverlayElement(text.layout.panelName);
    overlays.destroy(roundOverlay);
}

InputDataDisplay* Hud::getInputDataDisplay(int player) {
    return player == 0 ? inputDataDisplay1.get() : inputDataDisplay2.get();
}

HealthDisplay* Hud::getHealthDisplay(int player) {
    return player == 0 ? healthDisplay1.get() : healthDisplay2.get();
}
