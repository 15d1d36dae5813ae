#include "render/Hud.h"

#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

#include "render/HealthDisplay.h"
#include "render/InputDataDisplay.h"

namespace {

const char* const overlayName = "OverlayName";
const char* const fontName = "SpecialChars";

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

void createElements(const HudPanel& layout) {
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();

    Ogre::OverlayElement* panel = overlays.createOverlayElement("Panel", layout.panelName);
    panel->setMetricsMode(Ogre::GMM_RELATIVE);
    panel->setPosition(layout.left, layout.top);
    panel->setDimensions(layout.width, layout.height);

    auto* text = static_cast<Ogre::TextAreaOverlayElement*>(
        overlays.createOverlayElement("TextArea", layout.textName));
    text->setMetricsMode(Ogre::GMM_PIXELS);
    text->setCharHeight(layout.charHeight);
    text->setFontName(fontName);
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
}

InputDataDisplay* Hud::getInputDataDisplay(int player) {
    return player == 0 ? inputDataDisplay1.get() : inputDataDisplay2.get();
}

HealthDisplay* Hud::getHealthDisplay(int player) {
    return player == 0 ? healthDisplay1.get() : healthDisplay2.get();
}
