#include "render/CpuLabel.h"

#include <string>

#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

#include "render/SystemFont.h"

namespace {

const char* const fontName = "CpuLabelFont";

} // namespace

// Left-aligned with the health readout above it.
CpuLabel::CpuLabel(int side, int level) {
    SystemFont::require(fontName, "DejaVuSans-Bold.ttf", 20);
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    auto* panel =
        static_cast<Ogre::OverlayContainer*>(overlays.createOverlayElement("Panel", "CpuPanel"));
    panel->setMetricsMode(Ogre::GMM_RELATIVE);
    panel->setPosition(side == 0 ? 0.2f : 0.6f, 0.935f);
    panel->setDimensions(0.2f, 0.05f);
    auto* area = static_cast<Ogre::TextAreaOverlayElement*>(
        overlays.createOverlayElement("TextArea", "CpuText"));
    area->setMetricsMode(Ogre::GMM_PIXELS);
    area->setCharHeight(22);
    area->setFontName(fontName, fontName);
    area->setCaption("CPU " + std::to_string(level));
    overlay = overlays.create("CpuOverlay");
    overlay->add2D(panel);
    panel->addChild(area);
    overlay->show();
}

CpuLabel::~CpuLabel() {
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    overlays.destroyOverlayElement("CpuText");
    overlays.destroyOverlayElement("CpuPanel");
    overlays.destroy(overlay);
}
