#include "render/ConnectionDisplay.h"

#include <cstdint>

#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

#include "render/SystemFont.h"

namespace {

const char* const fontName = "ConnectionFont";

} // namespace

// Named after the instance: the relay test runs both sides of a match in one engine.
ConnectionDisplay::ConnectionDisplay(int row)
    : suffix(std::to_string(reinterpret_cast<std::uintptr_t>(this))) {
    SystemFont::require(fontName, "DejaVuSansMono.ttf", 16);
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    auto* panel = static_cast<Ogre::OverlayContainer*>(
        overlays.createOverlayElement("Panel", "ConnectionPanel" + suffix));
    panel->setMetricsMode(Ogre::GMM_RELATIVE);
    panel->setPosition(0.02f, 0.01f + 0.05f * static_cast<float>(row));
    panel->setDimensions(0.96f, 0.05f);
    text = static_cast<Ogre::TextAreaOverlayElement*>(
        overlays.createOverlayElement("TextArea", "ConnectionText" + suffix));
    text->setMetricsMode(Ogre::GMM_PIXELS);
    text->setCharHeight(18);
    text->setFontName(fontName, fontName);
    overlay = overlays.create("ConnectionOverlay" + suffix);
    overlay->add2D(panel);
    panel->addChild(text);
    overlay->show();
}

ConnectionDisplay::~ConnectionDisplay() {
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    overlays.destroyOverlayElement("ConnectionText" + suffix);
    overlays.destroyOverlayElement("ConnectionPanel" + suffix);
    overlays.destroy(overlay);
}

void ConnectionDisplay::show(const std::string& line) {
    if (line == shown)
        return;
    shown = line;
    text->setCaption(shown);
}
