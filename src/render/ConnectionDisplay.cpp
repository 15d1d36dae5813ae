#include "render/ConnectionDisplay.h"

#include <cstdint>

#include <OgreResourceGroupManager.h>
#include <Overlay/OgreFont.h>
#include <Overlay/OgreFontManager.h>
#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

namespace {

const char* const fontGroup = "ConnectionFont";
const char* const fontName = "ConnectionFont";
const char* const fontDirectory = "/usr/share/fonts/truetype/dejavu";

void createFont() {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (groups.resourceGroupExists(fontGroup))
        return;
    groups.addResourceLocation(fontDirectory, "FileSystem", fontGroup);
    groups.initialiseResourceGroup(fontGroup);
    Ogre::FontPtr font = Ogre::FontManager::getSingleton().create(fontName, fontGroup);
    font->setType(Ogre::FT_TRUETYPE);
    font->setSource("DejaVuSansMono.ttf");
    font->setTrueTypeSize(16);
    font->setTrueTypeResolution(96);
    font->addCodePointRange({32, 126});
    font->load();
}

} // namespace

// Named after the instance: the relay test runs both sides of a match in one engine.
ConnectionDisplay::ConnectionDisplay(int row)
    : suffix(std::to_string(reinterpret_cast<std::uintptr_t>(this))) {
    createFont();
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
    text->setFontName(fontName, fontGroup);
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
